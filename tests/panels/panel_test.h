// The panel scenarios, written once and run in both builds: natively on the
// handlers in memory, under Wine on the real window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/panel_driver.h"
#include "support/registry_fixture.h"

namespace brv {

// A panel scenario: a fresh driver for each case.
class PanelTest : public ::testing::Test {
 protected:
  void Open() { d->Open(); }
  // Selects, asserting that the item is listed.
  void Select(const std::string& list, const std::string& text) {
    ASSERT_TRUE(d->Select(list, text)) << list << ": " << text;
  }
  // Answers the next box (a delete's confirmation) and clicks.
  void ClickAnswering(const std::string& control, MsgAnswer answer) {
    d->Answer({answer});
    d->Click(control);
  }

  std::unique_ptr<PanelDriver> d = MakePanelDriver();
  Registry& reg = d->registry();
};

}  // namespace brv
