// The walk of a parsed format that read and write statements share: data
// descriptors take the items in turn, groups repeat, "/" and format reversion
// move to the next record. When the items are used up the walk ends at the
// next data descriptor or at the closing parenthesis, so text, X and slashes
// before that point still count. Items left at the closing parenthesis start
// a new record at the last top-level group. Only the record library includes
// this.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "common/format_parse.hpp"

namespace rec {

// The repeat counts of the groups a statement is inside, as it walks the ops.
class GroupLoops {
 public:
  // At a group_begin op at `pc`: enter the group with its repeat count.
  void enter(int pc, int repeat) { frames_[depth_++] = Frame{pc, repeat}; }
  // At the group_end op at `pc`: the op to continue with, the group's first
  // op again while repeats are left, else the op after the group.
  int leave(int pc) {
    Frame& f = frames_[depth_ - 1];
    if (--f.left > 0) return f.begin + 1;
    --depth_;
    return pc + 1;
  }

 private:
  struct Frame {
    int begin;
    int left;
  };
  Frame frames_[kMaxGroupDepth];
  int depth_ = 0;
};

// A statement's item of the wrong kind for its descriptor is a bug of the caller.
[[noreturn]] inline void wrong_item(const Format::Impl& impl, std::size_t index, const char* expected) {
  throw std::invalid_argument("format \"" + impl.text + "\": item " + std::to_string(index + 1) + " must be " +
                              expected);
}

// Walks `impl` for a statement of `count` items. The visitor is called with
//   data(op, index)  a, i, f or e descriptor for item `index` (0-based);
//   skip(n)          nX;
//   text(op)         a quoted text;
//   next_record()    "/" or reversion; false when there is no next record;
//   dollar()         "$";
//   scale_factor(k)  kP.
// Returns false when next_record() did, true when the statement is complete.
// Throws std::invalid_argument when items are left over and the format has no
// data descriptor to take them.
template <class Visitor>
bool walk_format(const Format::Impl& impl, std::size_t count, Visitor& visit) {
  GroupLoops groups;
  std::size_t index = 0;
  int pc = 0;
  for (;;) {
    const Op& op = impl.ops[static_cast<std::size_t>(pc)];
    switch (op.kind) {
      case OpKind::a:
      case OpKind::i:
      case OpKind::f:
      case OpKind::e:
        if (index == count) return true;
        visit.data(op, index++);
        break;
      case OpKind::skip:
        visit.skip(op.w);
        break;
      case OpKind::text:
        visit.text(op);
        break;
      case OpKind::slash:
        if (!visit.next_record()) return false;
        break;
      case OpKind::dollar:
        visit.dollar();
        break;
      case OpKind::scale:
        visit.scale_factor(op.w);
        break;
      case OpKind::group_begin:
        groups.enter(pc, op.repeat);
        break;
      case OpKind::group_end:
        pc = groups.leave(pc);
        continue;
      case OpKind::end:
        if (index == count) return true;
        if (!impl.reversion_has_data) {
          throw std::invalid_argument("format \"" + impl.text + "\" has no data descriptor for its items");
        }
        if (!visit.next_record()) return false;
        pc = impl.reversion;
        continue;
    }
    ++pc;  // every op but the jumps goes on to the next
  }
}

}  // namespace rec
