// The text-fit measure: each kind of control is found out when its text needs more room than it has.
#include <string>
#include <vector>

#include "support/dialog_script.h"

namespace {
using K = ControlKind;
constexpr const char* Long = "A label far too long for the room its control has";

// Each control twice: with room to spare (ids below 10) and cramped (ids from 10).
constexpr DialogControl Controls[] = {
    {K::Static, 1, "Short", 5, 5, 100, 10},
    {K::Static, 11, Long, 5, 20, 60, 10},  // wraps to more lines than fit
    {K::PushButton, 2, "OK", 5, 35, 40, 14},
    {K::PushButton, 12, Long, 50, 35, 40, 14},
    {K::CheckBox, 3, "Tick", 5, 55, 60, 10},
    {K::CheckBox, 13, Long, 70, 55, 60, 10},
    {K::GroupBox, 4, "Group", 5, 70, 100, 20},
    {K::GroupBox, 14, Long, 110, 70, 40, 20},
    {K::ComboBox, 5, "", 5, 95, 100, 60},
    {K::ComboBox, 15, "", 110, 95, 40, 60},
};
constexpr DialogTemplate Template{"Fit", "IPAPGothic", 9, 0, 0, 160, 120, WS_CAPTION | DS_CENTER, Controls};

class DialogFit : public DialogFixture {};

TEST_F(DialogFit, ReportsEveryCrampedControlAndNoneWithRoom) {
  DialogScript script(Main);
  std::vector<TextOverflow> found;
  script
      .Then([](HWND d) {
        AddListString(d, 5, "One");
        AddListString(d, 15, "One");
        AddListString(d, 15, Long);
      })
      .Then([](HWND) {})
      .Then([&](HWND d) {
        found = FindTextOverflows(d);
        EndDialog(d, 0);
      });
  const INT_PTR result = DialogBoxParam(
      Main, Template, [](HWND, std::uint32_t, WPARAM, LPARAM) -> INT_PTR { return 0; }, 0);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(script.StepsRun(), 3u);
  std::vector<int> ids;
  for (const TextOverflow& o : found) {
    ids.push_back(o.Id);
    EXPECT_GT(o.Needed, o.Available) << o.Id;
    EXPECT_EQ(o.Text, Long) << o.Id;
  }
  EXPECT_EQ(ids, (std::vector<int>{11, 12, 13, 14, 15}));
}
}  // namespace
