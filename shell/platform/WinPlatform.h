// The platform services on Windows: asynchronous key states, the cursor, ShellExecuteW and
// the local time.
#pragma once

#include "shell/platform/Platform.h"

class WinPlatform : public Platform
{
public:
    bool enterPressedSinceLastQuery() override;
    bool spacePressedSinceLastQuery() override;
    std::optional<CursorPos> cursorPos() override;
    bool ctrlAndShiftDown() override;
    void openDocument(const std::string& text) override;
    DateTime now() override;
    bool showNotification(const std::string& summary, const std::string& body) override;
};
