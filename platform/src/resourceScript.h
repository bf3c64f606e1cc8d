// The resource script (resources/skerrow.rc, preprocessed and embedded at build time)
// parsed into menu and dialog templates. No text or coordinate of a menu or dialog
// exists anywhere else.
#ifndef SKERROW_PLATFORM_RESOURCESCRIPT_H
#define SKERROW_PLATFORM_RESOURCESCRIPT_H

#include <windows.h>

#include <string>
#include <vector>

namespace layer {

struct MenuEntry {
    std::string text;  // with its '&' mnemonic marker, as in the script
    int id = 0;        // command id; 0 for popups and separators
    bool popup = false;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuEntry> children;  // popup entries
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuEntry> bar;  // menu bar entries in order
};

// One control of a dialog template, with the styles the resource compiler gives it
// (the statement's default styles combined with those written).
enum class ControlKind {
    GroupBox,
    AutoRadioButton,
    AutoCheckBox,
    PushButton,
    DefPushButton,
    LeftText,
    CenterText,
    RightText,
    Edit
};
struct ControlTemplate {
    ControlKind kind;
    std::string text;
    int id = -1;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    DWORD style = 0;                   // full window and control style
};

struct DialogTemplate {
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    DWORD style = 0;
    std::string caption;
    int fontSize = 0;
    std::string fontFace;
    std::vector<ControlTemplate> controls;  // template order, which is the tab order
};

// Parses the embedded script once; aborts naming the construct on anything unknown.
const MenuTemplate& menuTemplate(int id);      // aborts if absent
const DialogTemplate& dialogTemplate(int id);  // aborts if absent
// Adds the templates of a further script text to those looked up by id (tests show dialogs
// of their own this way); an id that is already taken aborts.
void loadScript(const std::string& text);
// Parses an arbitrary script text (for tests of the parser itself).
void parseScript(const std::string& text, std::vector<MenuTemplate>& menus, std::vector<DialogTemplate>& dialogs);

}  // namespace layer

#endif
