// The text field's editing (caret, typing, deleting in whole characters), its
// picture, and the text edit control around it with the field's answer
// supplied by the test.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "gui/controls/ctextedit.h"
#include "gui/platform/platform_text_field.h"
#include "text_menu_support.h"

using namespace textmenutest;

namespace {

// One editing step: 'i' inserts `text`, 'b' backspace, 'd' delete,
// 'l' left, 'r' right, 'h' home, 'e' end.
struct Step {
  char op;
  std::string text = {};
};

void apply(PlatformTextEditor& editor, const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    switch (s.op) {
      case 'i': editor.insert(s.text); break;
      case 'b': editor.backspace(); break;
      case 'd': editor.deleteForward(); break;
      case 'l': editor.left(); break;
      case 'r': editor.right(); break;
      case 'h': editor.home(); break;
      case 'e': editor.end(); break;
      default: FAIL() << "unknown step " << s.op;
    }
  }
}

// A text edit whose field answers as the test says, recording what it was shown.
class ScriptedTextEdit : public CTextEdit {
 public:
  using CTextEdit::CTextEdit;
  bool commit = true;
  std::string typed;
  std::vector<std::string> shown;
  bool wasEditing = false;

 protected:
  bool runTextField(std::string& text) override {
    shown.push_back(text);
    wasEditing = isEditing();
    if (commit) text = typed;
    return commit;
  }
};

void upper(char* input, char* text) {
  size_t i = 0;
  for (; input[i]; ++i)
    text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(input[i])));
  text[i] = '\0';
}

void addSuffix(char* input, char* text, void* suffix) {
  std::strcpy(text, input);
  std::strcat(text, static_cast<const char*>(suffix));
}

}  // namespace

TEST(TextFieldEditing, CaretMovesAndEditsInWholeCharacters) {
  struct Case {
    const char* name;
    std::string initial;
    std::vector<Step> steps;
    std::string text;
    size_t caret;
  };
  const Case cases[] = {
      {"starts with the caret at the end", "abc", {}, "abc", 3},
      {"typing goes in at the caret", "ac", {{'l'}, {'i', "b"}}, "abc", 2},
      {"backspace removes before the caret", "abc", {{'l'}, {'b'}}, "ac", 1},
      {"delete removes after the caret", "abc", {{'h'}, {'d'}}, "bc", 0},
      {"home and end", "abc", {{'h'}, {'i', "<"}, {'e'}, {'i', ">"}}, "<abc>", 5},
      {"edges stop the caret", "ab", {{'r'}, {'d'}, {'h'}, {'l'}, {'b'}}, "ab", 0},
      {"backspace takes a whole two-byte character", "a\xC3\xA9", {{'b'}}, "a", 1},
      {"left steps over a whole character", "\xC3\xA9x", {{'l'}, {'l'}, {'d'}}, "x", 0},
      {"right steps over a whole three-byte character",
       "\xE2\x82\xAC!",
       {{'h'}, {'r'}, {'d'}},
       "\xE2\x82\xAC",
       3},
      {"control characters are not typed",
       "",
       {{'i',
         "a\tb\n\x7F"
         "c"}},
       "abc",
       3},
      {"a Latin-1 byte becomes its character", "", {{'i', "\xE9"}}, "\xC3\xA9", 2},
  };
  for (const Case& c : cases) {
    PlatformTextEditor editor(c.initial);
    apply(editor, c.steps);
    EXPECT_EQ(editor.text(), c.text) << c.name;
    EXPECT_EQ(editor.caret(), c.caret) << c.name;
  }
}

TEST(TextFieldEditing, TheLengthLimitLetsOnlyWholeCharactersIn) {
  PlatformTextEditor editor("abc", 5);
  editor.insert("d\xC3\xA9");  // "d" fits, the two-byte character does not
  EXPECT_EQ(editor.text(), "abcd");
  PlatformTextEditor tooLong(std::string(10, 'x'), 4);
  EXPECT_EQ(tooLong.text(), "xxxx");
  EXPECT_EQ(tooLong.caret(), 4u);
}

TEST(TextFieldPicture, ShowsBackFrameAndCaretAndScrollsToKeepTheCaretInSight) {
  Surface surface(60, 20, kBlackCColor);
  PlatformTextFieldStyle style;
  style.back = PlatformColor{255, 255, 255, 255};
  style.frame = PlatformColor{255, 0, 0, 255};
  style.text = PlatformColor{0, 0, 255, 255};
  double scroll = 0.0;
  PlatformTextEditor empty("");
  platformTextFieldPaint(surface.get(), empty, style, scroll);
  EXPECT_EQ(surface.pixel(0, 10), kRedCColor);
  EXPECT_EQ(surface.pixel(59, 19), kRedCColor);
  EXPECT_EQ(surface.pixel(30, 10), kWhiteCColor);
  EXPECT_EQ(surface.pixel(3, 10), kBlueCColor);  // the caret, at the start
  EXPECT_EQ(scroll, 0.0);

  PlatformTextEditor longText(std::string(40, 'W'));
  platformTextFieldPaint(surface.get(), longText, style, scroll);
  EXPECT_GT(scroll, 0.0);
  // The caret at the end is inside the field, by the right edge.
  bool caretNearRight = false;
  for (long x = 40; x < 59; ++x) caretNearRight |= surface.pixel(x, 10) == kBlueCColor;
  EXPECT_TRUE(caretNearRight);
  longText.home();
  platformTextFieldPaint(surface.get(), longText, style, scroll);
  EXPECT_EQ(scroll, 0.0);
}

TEST(TextFieldRun, WithoutAWindowNothingOpens) {
  std::string text = "keep";
  EXPECT_EQ(platformTextFieldRun(nullptr, 0, 0, 50, 20, PlatformTextFieldStyle{}, text),
            PlatformTextFieldOutcome::unavailable);
  EXPECT_EQ(text, "keep");
}

TEST(TextEditText, SetAndGetKeepWholeCharactersWithinTheBuffer) {
  CTextEdit edit(CRect(0, 0, 50, 20), nullptr, 3, "start");
  char out[kParamDisplayTextSize];
  edit.getText(out);
  EXPECT_STREQ(out, "start");
  edit.getText(nullptr);  // ignored

  // 254 bytes and a two-byte character would need 256 + 1: the character goes.
  const std::string longText = std::string(254, 'a') + "\xC3\xA9";
  edit.setText(longText.c_str());
  EXPECT_EQ(std::string(edit.getText()), std::string(254, 'a'));
  edit.setText(nullptr);
  EXPECT_STREQ(edit.getText(), "");
  EXPECT_TRUE(edit.isTypeOf("CTextEdit"));
  EXPECT_TRUE(edit.isTypeOf("CParamDisplay"));
}

using TextEditControl = UnboundEditor;

TEST_F(TextEditControl, ACommittedEditIsStoredAndReportedAsOneGesture) {
  auto* edit = add(new ScriptedTextEdit(CRect(10, 10, 110, 30), &listener, 4, "old"));
  edit->typed = "new text";
  click(CPoint(20, 20));
  ASSERT_EQ(edit->shown, std::vector<std::string>{"old"});
  EXPECT_TRUE(edit->wasEditing);
  EXPECT_FALSE(edit->isEditing());
  EXPECT_STREQ(edit->getText(), "new text");
  EXPECT_TRUE(edit->isDirty());
  EXPECT_EQ(events(), (std::vector<Event>{begin(4), changed(4, 0.0f, "new text"), end(4)}));
}

TEST_F(TextEditControl, ConversionsShapeTheStoredText) {
  char suffix[] = " dB";
  struct Case {
    const char* name;
    std::function<void(CTextEdit&)> setUp;
    std::string stored;
  };
  const Case cases[] = {
      {"as typed", [](CTextEdit&) {}, "abc"},
      {"function", [](CTextEdit& e) { e.setTextEditConvert(upper); }, "ABC"},
      {"function with data", [&](CTextEdit& e) { e.setTextEditConvert(addSuffix, suffix); },
       "abc dB"},
      {"null goes back to as typed",
       [](CTextEdit& e) {
         e.setTextEditConvert(upper);
         e.setTextEditConvert(static_cast<CTextEdit::EditConvert>(nullptr));
       },
       "abc"},
  };
  for (const Case& c : cases) {
    auto* edit = add(new ScriptedTextEdit(CRect(10, 10, 110, 30), &listener, 1, ""));
    c.setUp(*edit);
    edit->typed = "abc";
    click(CPoint(20, 20));
    EXPECT_STREQ(edit->getText(), c.stored.c_str()) << c.name;
    frame->removeView(edit);
  }
}

TEST_F(TextEditControl, CancelledOrIgnoredClicksChangeAndReportNothing) {
  auto* edit = add(new ScriptedTextEdit(CRect(10, 10, 110, 30), &listener, 2, "same"));
  edit->commit = false;
  edit->typed = "other";
  click(CPoint(20, 20));
  EXPECT_STREQ(edit->getText(), "same");
  EXPECT_EQ(edit->shown.size(), 1u);

  // Not the primary button; a modified click the listener takes; mouse off.
  edit->commit = true;
  click(CPoint(20, 20), kMouseRight);
  listener.modifierAnswer = 1;
  click(CPoint(20, 20), kMouseLeft | kModShift);
  EXPECT_EQ(listener.modifierClicks, 1);
  edit->setMouseEnabled(false);
  click(CPoint(20, 20));
  EXPECT_EQ(edit->shown.size(), 1u);
  EXPECT_STREQ(edit->getText(), "same");
  EXPECT_TRUE(events().empty());
}

TEST_F(TextEditControl, WithoutAWindowAClickOpensNothingAndReportsNothing) {
  auto* edit = add(new CTextEdit(CRect(10, 10, 110, 30), &listener, 2, "still"));
  click(CPoint(20, 20));
  EXPECT_STREQ(edit->getText(), "still");
  EXPECT_FALSE(edit->isEditing());
  EXPECT_TRUE(events().empty());
}

TEST(TextEditPixels, DrawsItsTextNotTheValue) {
  Surface surface(100, 20, kBlackCColor);
  CTextEdit* edit = new CTextEdit(CRect(0, 0, 100, 20), nullptr, 0, "", nullptr, kNoFrame);
  edit->setValue(0.75f);  // would show "0.75" if the value were drawn
  {
    Context context(surface);
    edit->draw(context);
  }
  long first, last;
  inkSpan(surface, CRect(0, 0, 100, 20), kBlackCColor, first, last);
  EXPECT_EQ(first, -1);
  edit->setText("Name");
  {
    Context context(surface);
    edit->draw(context);
  }
  inkSpan(surface, CRect(0, 0, 100, 20), kBlackCColor, first, last);
  EXPECT_GT(last, first);
  edit->forget();
}
