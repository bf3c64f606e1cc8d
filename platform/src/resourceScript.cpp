// Reads the preprocessed resource script: MENU and DIALOG resources, with the resource
// compiler's rules for numbers, strings, style expressions and default control styles.
#include "resourceScript.h"

#include <cctype>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "layer.h"

extern const char g_resourceScript[];

namespace layer {
namespace {

struct Token {
    enum Kind { End, Number, String, Word, Punct } kind = End;
    std::string text;  // word (upper-cased), string contents or punctuation
    long long value = 0;
    int line = 0;
};

class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) { advance(); }

    const Token& peek() const { return current_; }
    Token next() {
        Token token = current_;
        advance();
        return token;
    }

    [[noreturn]] void fail(const std::string& what) const {
        unsupported("resource script line " + std::to_string(current_.line) + ": " + what);
    }

    bool isWord(const char* word) const { return current_.kind == Token::Word && current_.text == word; }
    bool isPunct(char c) const { return current_.kind == Token::Punct && current_.text[0] == c; }
    bool acceptPunct(char c) {
        if (!isPunct(c)) return false;
        advance();
        return true;
    }
    void expectPunct(char c) {
        if (!acceptPunct(c)) fail(std::string("'") + c + "' expected before " + describe(current_));
    }
    std::string expectString() {
        if (current_.kind != Token::String) fail("a string expected before " + describe(current_));
        return next().text;
    }

    static std::string describe(const Token& token) {
        switch (token.kind) {
        case Token::End: return "the end of the script";
        case Token::Number: return std::to_string(token.value);
        case Token::String: return "\"" + token.text + "\"";
        default: return token.text;
        }
    }

private:
    void advance() {
        skipBlanks();
        current_ = Token();
        current_.line = line_;
        if (pos_ >= text_.size()) return;
        char c = text_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            scanNumber();
        } else if (c == '"') {
            scanString();
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = pos_;
            while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
                ++pos_;
            current_.kind = Token::Word;
            for (size_t i = start; i < pos_; ++i)
                current_.text += static_cast<char>(std::toupper(static_cast<unsigned char>(text_[i])));
        } else if (std::string("{},|&+-()~").find(c) != std::string::npos) {
            current_.kind = Token::Punct;
            current_.text = std::string(1, c);
            ++pos_;
        } else {
            fail(std::string("unexpected character '") + c + "'");
        }
    }

    // White space, comments and preprocessor lines (such as #pragma) between tokens.
    void skipBlanks() {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
                atLineStart_ = true;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '#' && atLineStart_) {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else if (text_.compare(pos_, 2, "//") == 0) {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else if (text_.compare(pos_, 2, "/*") == 0) {
                size_t end = text_.find("*/", pos_ + 2);
                if (end == std::string::npos) fail("unterminated comment");
                for (size_t i = pos_; i < end; ++i)
                    if (text_[i] == '\n') ++line_;
                pos_ = end + 2;
            } else {
                atLineStart_ = false;
                return;
            }
        }
    }

    void scanNumber() {
        size_t start = pos_;
        int base = 10;
        if (text_.compare(pos_, 2, "0x") == 0 || text_.compare(pos_, 2, "0X") == 0) {
            base = 16;
            pos_ += 2;
        }
        size_t digits = pos_;
        while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
            if (base == 10 && !std::isdigit(static_cast<unsigned char>(text_[pos_]))) break;
            ++pos_;
        }
        if (pos_ == digits) fail("malformed number");
        current_.kind = Token::Number;
        current_.value = std::strtoll(text_.substr(digits, pos_ - digits).c_str(), nullptr, base);
        // Size and sign suffixes change nothing here.
        while (pos_ < text_.size() && std::string("LlUu").find(text_[pos_]) != std::string::npos) ++pos_;
        if (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
            fail("malformed number " + text_.substr(start, pos_ + 1 - start));
    }

    // C escapes, and "" for a quote inside the string, as the resource compiler reads them.
    void scanString() {
        ++pos_;
        std::string value;
        for (;;) {
            if (pos_ >= text_.size() || text_[pos_] == '\n') fail("unterminated string");
            char c = text_[pos_++];
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    value += '"';
                    ++pos_;
                    continue;
                }
                break;
            }
            if (c != '\\') {
                value += c;
                continue;
            }
            if (pos_ >= text_.size()) fail("unterminated string");
            char e = text_[pos_++];
            switch (e) {
            case 'n': value += '\n'; break;
            case 't': value += '\t'; break;
            case 'r': value += '\r'; break;
            case 'a': value += '\a'; break;
            case 'b': value += '\b'; break;
            case 'f': value += '\f'; break;
            case 'v': value += '\v'; break;
            case '\\': value += '\\'; break;
            case '"': value += '"'; break;
            case '\'': value += '\''; break;
            case '?': value += '?'; break;
            case 'x': {
                size_t start = pos_;
                while (pos_ < text_.size() && pos_ - start < 2 &&
                       std::isxdigit(static_cast<unsigned char>(text_[pos_])))
                    ++pos_;
                if (pos_ == start) fail("malformed \\x escape");
                value += static_cast<char>(std::strtol(text_.substr(start, pos_ - start).c_str(), nullptr, 16));
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    int code = e - '0';
                    for (int i = 0; i < 2 && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '7'; ++i)
                        code = code * 8 + (text_[pos_++] - '0');
                    value += static_cast<char>(code);
                } else {
                    fail(std::string("escape \\") + e);
                }
            }
        }
        current_.kind = Token::String;
        current_.text = value;
    }

    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
    bool atLineStart_ = true;
    Token current_;
};

// Numeric expressions: | & + - binary, - ~ NOT unary, parentheses.
long long parsePrimary(Scanner& in);

long long parseUnary(Scanner& in) {
    if (in.acceptPunct('-')) return -parseUnary(in);
    if (in.acceptPunct('~')) return ~parseUnary(in);
    if (in.isWord("NOT")) {
        in.next();
        return ~parseUnary(in);
    }
    return parsePrimary(in);
}

long long parseSum(Scanner& in) {
    long long value = parseUnary(in);
    for (;;) {
        if (in.acceptPunct('+'))
            value += parseUnary(in);
        else if (in.acceptPunct('-'))
            value -= parseUnary(in);
        else
            return value;
    }
}

long long parseAnd(Scanner& in) {
    long long value = parseSum(in);
    while (in.acceptPunct('&')) value &= parseSum(in);
    return value;
}

long long parseExpression(Scanner& in) {
    long long value = parseAnd(in);
    while (in.acceptPunct('|')) value |= parseAnd(in);
    return value;
}

long long parsePrimary(Scanner& in) {
    if (in.acceptPunct('(')) {
        long long value = parseExpression(in);
        in.expectPunct(')');
        return value;
    }
    if (in.peek().kind != Token::Number) in.fail("a number expected before " + Scanner::describe(in.peek()));
    return in.next().value;
}

int parseInt(Scanner& in) { return static_cast<int>(parseExpression(in)); }

// A style as the resource compiler combines it with a statement's defaults: each term
// is OR-ed in, and a term written NOT x takes x away.
DWORD parseStyle(Scanner& in, DWORD style) {
    do {
        if (in.isWord("NOT")) {
            in.next();
            style &= ~static_cast<DWORD>(parseAnd(in));
        } else {
            style |= static_cast<DWORD>(parseAnd(in));
        }
    } while (in.acceptPunct('|'));
    return style;
}

bool acceptBegin(Scanner& in) {
    if (in.acceptPunct('{')) return true;
    if (in.isWord("BEGIN")) {
        in.next();
        return true;
    }
    return false;
}

void expectBegin(Scanner& in) {
    if (!acceptBegin(in)) in.fail("BEGIN expected before " + Scanner::describe(in.peek()));
}

bool acceptEnd(Scanner& in) {
    if (in.acceptPunct('}')) return true;
    if (in.isWord("END")) {
        in.next();
        return true;
    }
    return false;
}

// Memory options that older scripts carry after the resource type; they mean nothing here.
void skipLoadOptions(Scanner& in) {
    static const char* const options[] = {"DISCARDABLE", "PURE",    "IMPURE",    "MOVEABLE",
                                          "FIXED",       "PRELOAD", "LOADONCALL"};
    for (;;) {
        bool skipped = false;
        for (const char* option : options)
            if (in.isWord(option)) {
                in.next();
                skipped = true;
            }
        if (!skipped) return;
    }
}

// GRAYED and CHECKED, separated by commas or blanks.
void parseMenuOptions(Scanner& in, MenuEntry& entry) {
    for (;;) {
        bool comma = in.acceptPunct(',');
        if (in.isWord("GRAYED")) {
            entry.grayed = true;
        } else if (in.isWord("CHECKED")) {
            entry.checked = true;
        } else if (in.peek().kind == Token::Word && !in.isWord("MENUITEM") && !in.isWord("POPUP") &&
                   !in.isWord("END") && !in.isWord("BEGIN")) {
            in.fail("menu option " + in.peek().text);
        } else {
            if (comma) in.fail("menu option expected before " + Scanner::describe(in.peek()));
            return;
        }
        in.next();
    }
}

void parseMenuEntries(Scanner& in, std::vector<MenuEntry>& entries) {
    expectBegin(in);
    while (!acceptEnd(in)) {
        MenuEntry entry;
        if (in.isWord("POPUP")) {
            in.next();
            entry.popup = true;
            entry.text = in.expectString();
            parseMenuOptions(in, entry);
            parseMenuEntries(in, entry.children);
        } else if (in.isWord("MENUITEM")) {
            in.next();
            if (in.isWord("SEPARATOR")) {
                in.next();
                entry.separator = true;
            } else {
                entry.text = in.expectString();
                in.expectPunct(',');
                entry.id = parseInt(in);
                parseMenuOptions(in, entry);
            }
        } else {
            in.fail("menu statement " + Scanner::describe(in.peek()));
        }
        entries.push_back(entry);
    }
}

struct ControlStatement {
    const char* keyword;
    ControlKind kind;
    DWORD defaultStyle;  // without WS_CHILD | WS_VISIBLE, which every control has
    bool hasText;
};

const ControlStatement kControlStatements[] = {
    {"GROUPBOX", ControlKind::GroupBox, BS_GROUPBOX, true},
    {"AUTORADIOBUTTON", ControlKind::AutoRadioButton, BS_AUTORADIOBUTTON | WS_TABSTOP, true},
    {"AUTOCHECKBOX", ControlKind::AutoCheckBox, BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"PUSHBUTTON", ControlKind::PushButton, BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", ControlKind::DefPushButton, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"LTEXT", ControlKind::LeftText, SS_LEFT | WS_GROUP, true},
    {"CTEXT", ControlKind::CenterText, SS_CENTER | WS_GROUP, true},
    {"RTEXT", ControlKind::RightText, SS_RIGHT | WS_GROUP, true},
    {"EDITTEXT", ControlKind::Edit, ES_LEFT | WS_BORDER | WS_TABSTOP, false},
};

ControlTemplate parseControl(Scanner& in) {
    const ControlStatement* statement = nullptr;
    for (const ControlStatement& s : kControlStatements)
        if (in.isWord(s.keyword)) statement = &s;
    if (!statement) in.fail("dialog control " + Scanner::describe(in.peek()));
    in.next();

    ControlTemplate control{statement->kind, "", -1, 0, 0, 0, 0, 0};
    if (statement->hasText) {
        control.text = in.expectString();
        in.expectPunct(',');
    }
    control.id = parseInt(in);
    in.expectPunct(',');
    control.x = parseInt(in);
    in.expectPunct(',');
    control.y = parseInt(in);
    in.expectPunct(',');
    control.cx = parseInt(in);
    in.expectPunct(',');
    control.cy = parseInt(in);
    control.style = statement->defaultStyle | WS_CHILD | WS_VISIBLE;
    if (in.acceptPunct(',')) {
        control.style = parseStyle(in, control.style);
        if (in.acceptPunct(',')) {
            if (parseExpression(in) != 0) in.fail("extended control style");
        }
    }
    return control;
}

DialogTemplate parseDialog(Scanner& in, int id) {
    DialogTemplate dialog;
    dialog.id = id;
    skipLoadOptions(in);
    dialog.x = parseInt(in);
    in.expectPunct(',');
    dialog.y = parseInt(in);
    in.expectPunct(',');
    dialog.cx = parseInt(in);
    in.expectPunct(',');
    dialog.cy = parseInt(in);

    // Without STYLE the resource compiler gives a popup with border and system menu;
    // CAPTION adds the caption bar and FONT the DS_SETFONT style.
    DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    DWORD added = 0;
    while (!acceptBegin(in)) {
        if (in.isWord("STYLE")) {
            in.next();
            style = parseStyle(in, 0);
        } else if (in.isWord("CAPTION")) {
            in.next();
            dialog.caption = in.expectString();
            added |= WS_CAPTION;
        } else if (in.isWord("FONT")) {
            in.next();
            dialog.fontSize = parseInt(in);
            in.expectPunct(',');
            dialog.fontFace = in.expectString();
            added |= DS_SETFONT;
        } else {
            in.fail("dialog statement " + Scanner::describe(in.peek()));
        }
    }
    dialog.style = style | added;
    while (!acceptEnd(in)) dialog.controls.push_back(parseControl(in));
    return dialog;
}

// Templates stay where they are once parsed (dialogs keep pointers into them), hence deques.
struct LoadedTemplates {
    std::deque<MenuTemplate> menus;
    std::deque<DialogTemplate> dialogs;
};

LoadedTemplates& loadedTemplates() {
    static LoadedTemplates* loaded = [] {
        auto* templates = new LoadedTemplates;
        std::vector<MenuTemplate> menus;
        std::vector<DialogTemplate> dialogs;
        parseScript(g_resourceScript, menus, dialogs);
        templates->menus.assign(menus.begin(), menus.end());
        templates->dialogs.assign(dialogs.begin(), dialogs.end());
        return templates;
    }();
    return *loaded;
}

}  // namespace

void parseScript(const std::string& text, std::vector<MenuTemplate>& menus, std::vector<DialogTemplate>& dialogs) {
    Scanner in(text);
    while (in.peek().kind != Token::End) {
        if (in.peek().kind == Token::Word) in.fail("named resource " + in.peek().text);
        int id = parseInt(in);
        if (in.isWord("MENU")) {
            in.next();
            skipLoadOptions(in);
            MenuTemplate menu;
            menu.id = id;
            parseMenuEntries(in, menu.bar);
            menus.push_back(menu);
        } else if (in.isWord("DIALOG")) {
            in.next();
            dialogs.push_back(parseDialog(in, id));
        } else {
            in.fail("resource type " + Scanner::describe(in.peek()));
        }
    }
}

void loadScript(const std::string& text) {
    std::vector<MenuTemplate> menus;
    std::vector<DialogTemplate> dialogs;
    parseScript(text, menus, dialogs);
    LoadedTemplates& loaded = loadedTemplates();
    for (const MenuTemplate& menu : menus) {
        for (const MenuTemplate& existing : loaded.menus)
            if (existing.id == menu.id) unsupported("a second menu resource " + std::to_string(menu.id));
        loaded.menus.push_back(menu);
    }
    for (const DialogTemplate& dialog : dialogs) {
        for (const DialogTemplate& existing : loaded.dialogs)
            if (existing.id == dialog.id) unsupported("a second dialog resource " + std::to_string(dialog.id));
        loaded.dialogs.push_back(dialog);
    }
}

const MenuTemplate& menuTemplate(int id) {
    for (const MenuTemplate& menu : loadedTemplates().menus)
        if (menu.id == id) return menu;
    unsupported("menu resource " + std::to_string(id));
}

const DialogTemplate& dialogTemplate(int id) {
    for (const DialogTemplate& dialog : loadedTemplates().dialogs)
        if (dialog.id == id) return dialog;
    unsupported("dialog resource " + std::to_string(id));
}

}  // namespace layer
