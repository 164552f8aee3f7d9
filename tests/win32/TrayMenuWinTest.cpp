// The tray menu made from Form1's layout, read back through Win32: the items in the layout's
// order with its captions, the links submenu, the demo item hidden until shown, and the items'
// states as the main window sets them.
#include "Menus.h"
#include "win32/TrayMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace Menu = Layouts::PopupMenu1;

// One line per item: "-" for a separator, "caption>" for a submenu, flags after a "|".
std::vector<std::wstring> describe(HMENU menu)
{
    std::vector<std::wstring> lines;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_ID;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            lines.push_back(L"-");
            continue;
        }
        wchar_t text[128] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        std::wstring line = text;
        if (info.hSubMenu != nullptr) {
            line += L">";
            for (const std::wstring& sub : describe(info.hSubMenu))
                lines.push_back(L"  " + sub);
            lines.insert(lines.end() - GetMenuItemCount(info.hSubMenu), line);
            continue;
        }
        if (info.fState & MFS_GRAYED)
            line += L"|grey";
        if (info.fState & MFS_CHECKED)
            line += L"|checked";
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::wstring> built(const TrayMenu& menu)
{
    const HMENU handle = menu.build();
    std::vector<std::wstring> lines = describe(handle);
    DestroyMenu(handle);
    return lines;
}

} // namespace

TEST(TrayMenu, StartsAsTheLayoutWithTheDemoItemHidden)
{
    const TrayMenu menu(Menu::entries);
    const std::vector<std::wstring> expected{
        L"設定(&C)...",
        L"タイマーのリセット(&R)",
        L"タイマー表示サンプル(&B)...",
        L"-",
        L"座ったままで簡単ストレッチ(&S)...",
        L"関連情報(&I)>",
        L"  1",
        L"  2",
        L"  3",
        L"  4",
        L"  5",
        L"-",
        L"ルペタについて(&A)...",
        L"終了(&X)",
    };
    EXPECT_EQ(built(menu), expected);
}

TEST(TrayMenu, ItemsFollowTheirStates)
{
    TrayMenu menu(Menu::entries);
    menu.setVisible(Menu::MenuDemo, true);
    menu.setChecked(Menu::MenuDemo, true);
    menu.setEnabled(Menu::MenuConfig, false);
    menu.setEnabled(Menu::MenuAbout, false);
    menu.setCaption(Menu::Menu_Info1, L"&1 資料 & \"メモ\"");
    menu.setSeparator(Menu::Menu_Info2, true);
    menu.setVisible(Menu::Menu_Info3, false);
    menu.setCaption(Menu::Menu_Info4, L"Ｃ：＼文書");
    menu.setVisible(Menu::Menu_Info5, false);
    const std::vector<std::wstring> expected{
        L"設定(&C)...|grey",
        L"タイマーのリセット(&R)",
        L"タイマー表示サンプル(&B)...",
        L"-",
        L"座ったままで簡単ストレッチ(&S)...",
        L"関連情報(&I)>",
        L"  &1 資料 & \"メモ\"",
        L"  -",
        L"  Ｃ：＼文書",
        L"デモ(&D)|checked",
        L"-",
        L"ルペタについて(&A)...|grey",
        L"終了(&X)",
    };
    EXPECT_EQ(built(menu), expected);

    // Back again: a state set is a state kept, not a one-off.
    menu.setEnabled(Menu::MenuConfig, true);
    menu.setChecked(Menu::MenuDemo, false);
    const std::vector<std::wstring> lines = built(menu);
    EXPECT_EQ(lines.front(), L"設定(&C)...");
    EXPECT_EQ(lines.at(9), L"デモ(&D)");
}

TEST(TrayMenu, CommandsAreDistinctAndNonZero)
{
    std::vector<int> ids;
    for (const MenuLayout::Entry& e : Menu::entries) {
        if (e.kind == MenuLayout::Kind::Item) {
            EXPECT_NE(e.id, 0) << e.name;
            for (const int seen : ids)
                EXPECT_NE(seen, e.id) << e.name;
            ids.push_back(e.id);
        }
    }
    EXPECT_EQ(ids.size(), 12u);
}
