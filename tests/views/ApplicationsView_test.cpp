// The applications screen builds its list from the catalogue only when what it shows changes: a
// reopening with the same groups draws what was built.
#include "views/ApplicationsView.h"

#include <gtest/gtest.h>

#include <string>

#include "SampleApplications.h"
#include "ViewTestRoot.h"
#include "data/AppDataManager.h"

namespace marrowleaf::desktop {
namespace {

TEST(ApplicationsViewTest, TheListIsBuiltAgainOnlyWhenItsGroupsChange) {
  test::ViewTestRoot root;
  std::string error;
  ASSERT_TRUE(tools::WriteSampleApplications(root.Root().HostRoot(), &error)) << error;
  AppDataManager& apps = AppDataManager::GetInstance();
  apps.SetMaxApplications(5);
  ASSERT_TRUE(apps.Reload());
  ApplicationsView view;
  view.Show();
  view.Hide();
  view.Show();
  EXPECT_EQ(view.Rebuilds(), 1) << "reopened unchanged";
  // The first shortcut leaves the row, so the applications screen lists it.
  apps.RemoveApplication(0);
  view.Hide();
  view.Show();
  EXPECT_EQ(view.Rebuilds(), 2);
  view.Hide();
  view.Show();
  EXPECT_EQ(view.Rebuilds(), 2);
}

}  // namespace
}  // namespace marrowleaf::desktop
