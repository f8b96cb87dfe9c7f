// The main menus: each item sends its command in both languages, and every key lives in the
// accelerator table alone, bound once.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <set>
#include <vector>

#include "app/CommandIds.h"
#include "app/MainMenus.h"

namespace etiqo {
namespace {

TEST(MainMenus, ItemsSendTheirCommandAndCarryNoKeys) {
    for (const bool chinese : {true, false}) {
        SCOPED_TRACE(chinese ? "Chinese" : "English");
        QMenuBar bar;
        std::vector<int> sent;
        const auto actions = BuildMainMenus(bar, chinese, [&](int nCommand) { sent.push_back(nCommand); });
        EXPECT_EQ(bar.actions().size(), 5);
        for (const auto& [nCommand, action] : actions) {
            EXPECT_TRUE(action->shortcut().isEmpty()) << nCommand;  // keys would fire twice
            sent.clear();
            action->trigger();
            // Recent Files opens its list instead of sending.
            EXPECT_EQ(sent, action->menu() ? std::vector<int>{} : std::vector<int>{nCommand}) << nCommand;
        }
        // Only the English File menu offers to send data straight to the printer.
        EXPECT_EQ(actions.contains(32794), !chinese);
    }
    std::set<int> keys;
    for (const Accelerator& a : AcceleratorTable()) {
        EXPECT_TRUE(keys.insert(a.key.toCombined()).second) << "key bound twice";
    }
    EXPECT_EQ(keys.size(), 15u);
}

}  // namespace
}  // namespace etiqo
