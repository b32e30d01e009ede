// Shared toolkit objects live exactly as long as their holders.
#include <gtest/gtest.h>

#include "gui/cbitmap.h"
#include "gui/creference_counter.h"

namespace {

struct Counted : CReferenceCounter {
  explicit Counted(int* destroyed) : destroyed(destroyed) {}
  ~Counted() override { ++*destroyed; }
  int* destroyed;
};

TEST(CReferenceCounterTest, LastForgetDestroys) {
  int destroyed = 0;
  auto* object = new Counted(&destroyed);
  EXPECT_EQ(object->getNbReference(), 1);
  object->remember();
  object->remember();
  EXPECT_EQ(object->getNbReference(), 3);
  object->forget();
  object->forget();
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(object->getNbReference(), 1);
  object->forget();
  EXPECT_EQ(destroyed, 1);
}

struct CountedBitmap : CBitmap {
  explicit CountedBitmap(int* destroyed) : destroyed(destroyed) {}
  ~CountedBitmap() override { ++*destroyed; }
  int* destroyed;
};

TEST(CReferenceCounterTest, BitmapHeldElsewhereSurvivesItsCreator) {
  // The creator releases its reference once a holder has taken one.
  int destroyed = 0;
  CBitmap* bitmap = new CountedBitmap(&destroyed);
  bitmap->remember();  // the holder
  bitmap->forget();    // the creator
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(bitmap->getNbReference(), 1);
  bitmap->forget();  // the holder
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
