// Format strings are constants of the programs, so a malformed one is a bug:
// the parser throws std::invalid_argument naming the format and the place.
#include "common/format_parse.hpp"

#include <cctype>
#include <stdexcept>
#include <string_view>

namespace rec {
namespace {

// Largest repeat count or width accepted; far above any format of the system
// and small enough that the expanded op list stays small.
constexpr int kMaxCount = 100000;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  void parse(Format::Impl& impl) {
    compact();
    impl.text = std::string(text_);
    pos_ = 0;
    if (!eat('(')) fail("format must start with '('");
    int last_top_group = -1;
    list(impl, 0, last_top_group);
    if (!eat(')')) fail("expected ')'");
    if (pos_ != src_.size()) fail("text after the closing ')'");
    Op end;
    end.kind = OpKind::end;
    impl.ops.push_back(end);
    impl.reversion = last_top_group < 0 ? 0 : last_top_group;
    for (std::size_t k = static_cast<std::size_t>(impl.reversion); k < impl.ops.size(); ++k) {
      OpKind kind = impl.ops[k].kind;
      if (kind == OpKind::a || kind == OpKind::i || kind == OpKind::f || kind == OpKind::e) {
        impl.reversion_has_data = true;
      }
    }
  }

 private:
  // Blanks outside quoted text carry no meaning and letters no case; quoted
  // text is kept as written.
  void compact() {
    for (std::size_t k = 0; k < text_.size(); ++k) {
      char c = text_[k];
      if (c == '\'' || c == '"') {
        char quote = c;
        src_.push_back(c);
        ++k;
        for (;; ++k) {
          if (k >= text_.size()) fail("unterminated quoted text");
          src_.push_back(text_[k]);
          if (text_[k] == quote) {
            if (k + 1 < text_.size() && text_[k + 1] == quote) {
              src_.push_back(text_[++k]);
              continue;
            }
            break;
          }
        }
      } else if (c != ' ' && c != '\t') {
        src_.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
      }
    }
  }

  [[noreturn]] void fail(std::string_view why) const {
    std::string near = src_.substr(pos_ < src_.size() ? pos_ : src_.size(), 12);
    throw std::invalid_argument("malformed format \"" + std::string(text_) + "\": " + std::string(why) +
                                " at \"" + near + "\"");
  }

  bool at_end() const { return pos_ >= src_.size(); }
  char peek() const { return at_end() ? '\0' : src_[pos_]; }
  bool eat(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }
  bool digit_next() const { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }

  int number() {
    if (!digit_next()) fail("expected a number");
    long long n = 0;
    while (digit_next()) {
      n = n * 10 + (src_[pos_++] - '0');
      if (n > kMaxCount) fail("number too large");
    }
    return static_cast<int>(n);
  }

  // Items up to (not including) the ')' that closes this level. A comma must
  // separate items, except around "/" and "$" and after a scale factor, where
  // it may stand or not.
  void list(Format::Impl& impl, int depth, int& last_top_group) {
    enum class State { start, comma_needed, comma_optional, after_comma };
    State state = State::start;
    while (!at_end() && peek() != ')') {
      if (eat(',')) {
        if (state == State::start || state == State::after_comma) fail("misplaced ','");
        state = State::after_comma;
        continue;
      }
      char c = peek();
      bool self_delimiting = c == '/' || c == '$';
      if (state == State::comma_needed && !self_delimiting) fail("expected ','");
      state = item(impl, depth, last_top_group) ? State::comma_needed : State::comma_optional;
    }
    if (state == State::after_comma) fail("',' before ')'");
  }

  // One item; returns whether a comma (or a self-delimiting item) must follow.
  bool item(Format::Impl& impl, int depth, int& last_top_group) {
    char c = peek();
    if (c == '/') {
      ++pos_;
      push(impl, OpKind::slash);
      return false;
    }
    if (c == '$') {
      ++pos_;
      push(impl, OpKind::dollar);
      return false;
    }
    if (c == '\'' || c == '"') {
      quoted(impl);
      return true;
    }
    bool negative = false;
    if (c == '-' || c == '+') {
      negative = c == '-';
      ++pos_;
      if (!digit_next()) fail("expected a scale factor");
    }
    int count = -1;
    if (digit_next()) count = number();
    c = peek();
    if (c == 'p') {
      if (count < 0) fail("scale factor without a number");
      ++pos_;
      Op op;
      op.kind = OpKind::scale;
      op.w = negative ? -count : count;
      impl.ops.push_back(op);
      // "1pe9.2" needs no comma between the scale factor and the descriptor.
      char next = peek();
      if (next == ',' || next == ')' || next == '/' || next == '$' || at_end()) return false;
      return item(impl, depth, last_top_group);
    }
    if (negative) fail("a sign is allowed only before P");
    if (c == 'x') {
      ++pos_;
      if (count < 1) fail("X needs a positive count");
      Op op;
      op.kind = OpKind::skip;
      op.w = count;
      impl.ops.push_back(op);
      return true;
    }
    if (count == 0) fail("repeat count must be positive");
    int repeat = count < 0 ? 1 : count;
    if (c == '/') {
      ++pos_;
      for (int k = 0; k < repeat; ++k) push(impl, OpKind::slash);
      return false;
    }
    if (c == '(') {
      ++pos_;
      if (depth + 1 > kMaxGroupDepth) fail("groups nested too deeply");
      int begin = static_cast<int>(impl.ops.size());
      Op op;
      op.kind = OpKind::group_begin;
      op.repeat = repeat;
      impl.ops.push_back(op);
      list(impl, depth + 1, last_top_group);
      if (!eat(')')) fail("expected ')'");
      int end = static_cast<int>(impl.ops.size());
      Op close;
      close.kind = OpKind::group_end;
      close.partner = begin;
      impl.ops.push_back(close);
      impl.ops[static_cast<std::size_t>(begin)].partner = end;
      if (depth == 0) last_top_group = begin;
      return true;
    }
    Op op = data_descriptor();
    if (static_cast<long long>(impl.ops.size()) + repeat > kMaxCount) fail("format too long");
    for (int k = 0; k < repeat; ++k) impl.ops.push_back(op);
    return true;
  }

  Op data_descriptor() {
    Op op;
    char c = peek();
    ++pos_;
    switch (c) {
      case 'a':
        op.kind = OpKind::a;
        op.w = digit_next() ? number() : -1;
        if (op.w == 0) fail("A needs a positive width");
        return op;
      case 'i':
        op.kind = OpKind::i;
        op.w = number();
        if (op.w == 0) fail("I needs a positive width");
        return op;
      case 'f':
      case 'e':
        op.kind = c == 'f' ? OpKind::f : OpKind::e;
        op.w = number();
        if (op.w == 0) fail("field width must be positive");
        if (!eat('.')) fail("expected '.' and the number of decimals");
        op.d = number();
        if (op.kind == OpKind::e && op.d == 0) fail("E needs at least one digit");
        return op;
      default:
        --pos_;
        fail("unknown edit descriptor");
    }
  }

  void quoted(Format::Impl& impl) {
    char quote = src_[pos_++];
    Op op;
    op.kind = OpKind::text;
    op.text_begin = static_cast<int>(impl.literals.size());
    for (;;) {
      char c = src_[pos_++];  // compact() guarantees the closing quote
      if (c == quote) {
        if (peek() == quote) {
          ++pos_;
          impl.literals.push_back(quote);
          continue;
        }
        break;
      }
      impl.literals.push_back(c);
    }
    op.text_size = static_cast<int>(impl.literals.size()) - op.text_begin;
    impl.ops.push_back(op);
  }

  static void push(Format::Impl& impl, OpKind kind) {
    Op op;
    op.kind = kind;
    impl.ops.push_back(op);
  }

  std::string_view text_;
  std::string src_;
  std::size_t pos_ = 0;
};

}  // namespace

Format::Format(std::string_view text) : impl_(std::make_unique<Impl>()) { Parser(text).parse(*impl_); }
Format::~Format() = default;
Format::Format(const Format& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
Format& Format::operator=(const Format& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
  return *this;
}
Format::Format(Format&&) noexcept = default;
Format& Format::operator=(Format&&) noexcept = default;

const std::string& Format::text() const { return impl_->text; }

}  // namespace rec
