// Stage 1: format strings parse once into a reusable value; malformed ones are
// bugs and throw std::invalid_argument.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "common/records.hpp"

namespace {

// Every format string the two programs use, copied exactly.
constexpr const char* kProgramFormats[] = {
    "(a)", "(a7)", "(a200)", "(1x,a)", "(a24)",
    "(i2,i1,f12.6,e10.3,10x,f5.4,f5.4,f10.4,f4.2,f8.6,2i3,26x)", "(i1)", "(a103)", "(3x,f12.6)",
    "(1x,f9.4,1x,f7.1,1x,e11.5)", "(1x,a7,1x,i3,1x,3(f9.3,4x))", "(160(f9.2,1x))",
    "('Rad. in: mW m-2 sr-1 (cm-1)-1')", "(' Comments on errors and improvements are welcome')",
    "('     No guaranty for the results')", "(i5,1x,e11.4,1x,e11.4)",
    "(i2,i1,f12.6,e10.3,10x,f5.0,f5.4,f10.4,f4.2,f8.6,a24)", "(i1,a7)", "(f9.4,3(1x,e10.3))",
    "(f7.2,1x,f6.2)", "(f10.4,1x,4(e11.5,1x))", "(f10.4,1x,3(e11.5,1x))",
    "(a8,1x,f7.2,1x,f6.2,5x,f7.1,3(1x,e11.5))", "(a8,1x,f7.2,1x,f6.2,5x,f7.1)", "(a7,1x,i3,1x,3(f9.3,4x))",
    "(a62)", "(a6)", "(a25)", "(a23)", "(a1)", "(a,$)", "(9x,f7.2,1x,f6.2,5x,f7.1)", "(5x,A///)",
    "(21(e10.3,4x),f5.1)", "(1x,f9.4,1x,f7.1,1x,f7.1,3(1x,e11.5))", "(1x,a24)",
    "(1x,'***************************************')", "(1x,'**************************************')",
    "(1pe9.2,1x,1pe9.2,1x,f5.1)", "(161(e9.2,1x))", "('total TR at position of TG in window:',f8.3)",
    "('name     cm-1     window     e-prime   intensity   interfer', ' intens-inter')",
    "('frequency  e-prime  intensity')", "('contribution of TG at position of TG in %:',f8.3)",
    "('O')", "('3 5')", "('.')", "(' xmin: ',f8.3,' xmax: ',f8.3,'    ymin: ',        1pe10.3,' ymax: ',1pe10.3)",
    "(' xmin: ',1pe9.2,' xmax: ',1pe9.2,'    ymin: ',    1pe9.2,' ymax: ',1pe9.2)",
    "(' at step: ',i6,' of ',i6,' with ',                i8,' points')", "(' Working at ',f8.1,' - ',f8.1,' cm-1')",
    "(' SX',9(1pe9.2,1x))", "(' Normalisation factor:',1pe9.2)", "(' AK',9(1pe9.2, 1x))", "(' 3 ',i3)", "(' ')",
    "('  cm-1      target     ',               ' all-target   all-gases  diff-10%')",
    "('    VORNE: Automatic Line Finding Program')",
};

TEST(FormatParse, EveryProgramFormatParses) {
  for (const char* text : kProgramFormats) {
    SCOPED_TRACE(text);
    EXPECT_NO_THROW(rec::Format{text});
  }
}

TEST(FormatParse, KeepsTheTextAsGiven) {
  rec::Format f("( 5X , A / )");
  EXPECT_EQ(f.text(), "( 5X , A / )");
  rec::Format copy(f);
  EXPECT_EQ(copy.text(), f.text());
  rec::Format moved(std::move(copy));
  EXPECT_EQ(moved.text(), f.text());
  copy = moved;
  EXPECT_EQ(copy.text(), f.text());
}

TEST(FormatParse, MalformedFormatsThrow) {
  const char* bad[] = {
      "",         "i3",        "(i3",       "(i3))",       "(i3) x",   "(q5)",     "(i)",
      "(f5)",     "(f5.)",     "(e9.0)",    "(i3 i4)",     "(0x)",     "(x)",      "('abc)",
      "(,i3)",    "(i3,)",     "(i3,,i4)",  "(0i3)",       "(-1x)",    "(p)",      "(2'ab')",
      "(1(1(1(1(1(1(1(1(1(1(1(1(1(1(1(1(1(i1)))))))))))))))))",  // 17 levels of groups
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_THROW(rec::Format{text}, std::invalid_argument);
  }
}

std::string nested(int levels) {
  std::string text = "(";
  for (int k = 0; k < levels; ++k) text += "1(";
  text += "i1";
  for (int k = 0; k < levels; ++k) text += ")";
  return text + ")";
}

TEST(FormatParse, GroupsNestUpToSixteenLevels) {
  EXPECT_NO_THROW(rec::Format{nested(16)});
  EXPECT_THROW(rec::Format{nested(17)}, std::invalid_argument);
}

}  // namespace
