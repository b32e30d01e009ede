// Every class of the family answers to its own name and its bases' names,
// and to no other class's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/family/cbuttonmatrix.h"
#include "editor/family/cdecimaldigit.h"
#include "editor/family/cdrawbuffer.h"
#include "editor/family/cmoviecharacterdisplay.h"
#include "editor/family/cmoviemeter.h"
#include "editor/family/cmultibutton.h"
#include "editor/family/cradiobutton.h"
#include "editor/family/cselectorswitch.h"
#include "editor/family/cslidergroup.h"

namespace {

TEST(FamilyTypeNames, EachClassAnswersToItsNameAndItsBases) {
  CRect place(0, 0, 20, 20);
  CPoint offset;
  CRadioGroup group;
  struct Case {
    CView* view;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {new CButtonMatrix(place, 2, 2, nullptr, 0, nullptr), {"CButtonMatrix", "CControl", "CView"}},
      {new CCharacterDisplay(place, 0), {"CCharacterDisplay", "CView"}},
      {new CMovieCharacterDisplay(place, 0, nullptr),
       {"CMovieCharacterDisplay", "CCharacterDisplay", "CView"}},
      {new CRadioButton(place, &group, 0, nullptr),
       {"CRadioButton", "COnOffButton", "CControl", "CView"}},
      {new CSelectorSwitch(place, nullptr, 0, 1, 2, nullptr, offset),
       {"CSelectorSwitch", "CControl", "CView"}},
      {new CMultiButton(place, nullptr, 0, 2, nullptr, offset),
       {"CMultiButton", "CControl", "CView"}},
      {new CDrawBuffer(place, nullptr, 0, nullptr), {"CDrawBuffer", "CControl", "CView"}},
      {new CSliderGroup(place, nullptr, 0, 2, nullptr, nullptr),
       {"CSliderGroup", "CControl", "CView"}},
      {new CDecimalDigit(place, nullptr, 0, 0, 2, 0, 4, 6, nullptr),
       {"CDecimalDigit", "CControl", "CView"}},
      {new CMovieMeter(place, nullptr, 0, nullptr, offset, false, false),
       {"CMovieMeter", "CMovieBitmap", "CControl", "CView"}},
  };
  const std::vector<std::string> all = {"CButtonMatrix",
                                        "CCharacterDisplay",
                                        "CMovieCharacterDisplay",
                                        "CRadioButton",
                                        "COnOffButton",
                                        "CSelectorSwitch",
                                        "CMultiButton",
                                        "CDrawBuffer",
                                        "CSliderGroup",
                                        "CDecimalDigit",
                                        "CMovieMeter",
                                        "CMovieBitmap",
                                        "CControl",
                                        "CView",
                                        "CKnob",
                                        ""};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names.front());
    for (const std::string& name : all) {
      const bool expected = std::find(c.names.begin(), c.names.end(), name) != c.names.end();
      EXPECT_EQ(c.view->isTypeOf(name.c_str()), expected) << name;
    }
    EXPECT_FALSE(c.view->isTypeOf(nullptr));
    c.view->forget();
  }
}

}  // namespace
