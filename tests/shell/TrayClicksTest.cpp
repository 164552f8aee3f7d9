// What a click on the tray icon means, for both kinds of tray host.
#include "shell/TrayClicks.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

// Why: a second Trigger within the double-click time is the double click that
// StatusNotifierItem hosts cannot send; XEmbed's own DoubleClick still counts.
TEST(TrayClicks, Sequences)
{
    // Clicks at the given milliseconds and the action each one gets, with a double-click time
    // of 400 ms. "T" Trigger, "D" DoubleClick, "C" Context, "M" other; "later" menu after the
    // delay.
    struct Case
    {
        const char* clicks;
        const char* actions;
    };
    const Case cases[] = {
        {"T0", "later"},
        {"T0 D150", "later settings"},                          // XEmbed double click
        {"T0 T150", "later settings"},                          // StatusNotifierItem
        {"T1000 T1400", "later settings"},                      // at the limit
        {"T0 T401", "later later"},                             // too late
        {"T0 T100 T200 T300", "later settings later settings"}, // a third click: a new pair
        {"T0 C100 T200", "later now later"},                    // right click breaks the pair
        {"T0 T500 T1000", "later later later"},
        {"M0", "none"},
    };
    for (const Case& c : cases) {
        TrayClicks logic(400);
        std::istringstream in(c.clicks);
        std::string got;
        for (std::string click; in >> click;) {
            const char kind = click[0];
            const auto reported = kind == 'T'   ? TrayClicks::Click::Trigger
                                  : kind == 'D' ? TrayClicks::Click::DoubleClick
                                  : kind == 'C' ? TrayClicks::Click::Context
                                                : TrayClicks::Click::Other;
            const char* names[] = {"none", "later", "now", "settings"};
            got += std::string(got.empty() ? "" : " ") +
                   names[static_cast<int>(logic.activated(reported, std::stoll(click.substr(1))))];
        }
        EXPECT_EQ(got, c.actions) << c.clicks;
    }
}
