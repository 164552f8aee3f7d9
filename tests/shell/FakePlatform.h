// A platform layer for tests: scripted keys, cursor and clock; records what it was asked to
// open.
#pragma once

#include "shell/platform/Platform.h"

#include <string>
#include <utility>
#include <vector>

class FakePlatform : public Platform
{
public:
    bool enterPressedSinceLastQuery() override { return std::exchange(enter, false); }
    bool spacePressedSinceLastQuery() override { return std::exchange(space, false); }
    std::optional<CursorPos> cursorPos() override { return cursor; }
    bool ctrlAndShiftDown() override { return ctrlShift; }
    void openDocument(const std::string& text) override { opened.push_back(text); }
    DateTime now() override { return clock; }
    bool showNotification(const std::string& summary, const std::string& body) override
    {
        notifications.push_back(summary + "\n" + body);
        return notificationService;
    }
    bool seesActivity() override { return activitySeen; }
    bool trayHostReadsMenus() override { return hostReadsMenus; }

    bool enter = false;
    bool space = false;
    std::optional<CursorPos> cursor = CursorPos{0, 0};
    bool ctrlShift = false;
    DateTime clock = encodeDate(2026, 12, 9) + encodeTime(10, 0, 0);
    std::vector<std::string> opened;
    bool notificationService = true;
    bool activitySeen = true;
    std::vector<std::string> notifications; // summary and body, a line break between
    bool hostReadsMenus = false;
};
