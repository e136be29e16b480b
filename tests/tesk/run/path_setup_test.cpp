#include "tesk/run/path_setup.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "path_run_fixture.hpp"
#include "tesk/engine/air_path.hpp"

namespace {

using testing_support::WorkDir;

TEST(PathSetUp, GroundPathAndDroppedLayers) {
  WorkDir dir;
  auto whole = run_test::make_state(dir, 'g', 60.0f, 0);
  tesk::set_up_path(*whole);
  EXPECT_EQ(whole->path.nseg, 80);
  EXPECT_EQ(whole->path.nlayers, 80);
  EXPECT_NEAR(whole->path.pathfac(1), 2.0f, 1e-3f);  // sec 60 degrees near the ground
  EXPECT_LT(whole->path.pathfac(80), whole->path.pathfac(1));

  auto dropped = run_test::make_state(dir, 'g', 60.0f, 3);
  tesk::set_up_path(*dropped);
  EXPECT_EQ(dropped->path.nseg, 77);
  EXPECT_EQ(dropped->path.nlayers, 77);
  // Layer l now holds what layer l + 3 held, every quantity alike.
  for (int l : {1, 40, 77}) {
    SCOPED_TRACE(l);
    EXPECT_EQ(dropped->atm.alt(l), whole->atm.alt(l + 3));
    EXPECT_EQ(dropped->atm.pres(l), whole->atm.pres(l + 3));
    EXPECT_EQ(dropped->atm.column(l), whole->atm.column(l + 3));
    EXPECT_EQ(dropped->atm.vmr(5, l), whole->atm.vmr(5, l + 3));
    EXPECT_EQ(dropped->path.pathfac(l), whole->path.pathfac(l + 3));
  }
}

TEST(PathSetUp, LimbPathIsRebuiltOnTheLayersThatRemain) {
  WorkDir dir;
  auto limb = run_test::make_state(dir, 's', 20.0f, 0);
  tesk::set_up_path(*limb);
  // Layers at 20.5 .. 79.5 km lie above the tangent: 60 of them, each crossed twice.
  EXPECT_EQ(limb->path.tangent_layer, 21);
  EXPECT_EQ(limb->path.nseg, 120);
  EXPECT_EQ(limb->path.nlayers, 80);
  EXPECT_EQ(tesk::segment_layer(tesk::Geometry::limb, limb->path.levorder, 1), 80);
  EXPECT_EQ(tesk::segment_layer(tesk::Geometry::limb, limb->path.levorder, 60), 21);
  EXPECT_EQ(tesk::segment_layer(tesk::Geometry::limb, limb->path.levorder, 61), 21);

  auto dropped = run_test::make_state(dir, 's', 20.0f, 5);
  tesk::set_up_path(*dropped);
  EXPECT_EQ(dropped->path.tangent_layer, 16);
  EXPECT_EQ(dropped->path.nseg, 2 * (75 - 16 + 1));
  EXPECT_EQ(dropped->path.nlayers, 75);
  EXPECT_EQ(tesk::segment_layer(tesk::Geometry::limb, dropped->path.levorder, 1), 75);
}

TEST(PathSetUp, RefusedGeometries) {
  struct Case {
    char geom;
    float value;
    int ndrop;
    std::string_view message;
  } cases[] = {
      {'g', 30.0f, -1, tesk::kWrongLayersToRemove},
      {'g', 30.0f, 80, tesk::kWrongLayersToRemove},
      {'s', 95.0f, 0, tesk::kTangentAboveAtmosphere},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ndrop);
    WorkDir dir;
    auto state = run_test::make_state(dir, c.geom, c.value, c.ndrop);
    try {
      tesk::set_up_path(*state);
      ADD_FAILURE() << "no stop";
    } catch (const rec::Stop& e) {
      EXPECT_EQ(e.what(), std::string(c.message));
    }
  }
}

}  // namespace
