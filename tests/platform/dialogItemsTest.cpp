// Item numbers and texts: GetDlgItemInt's reading rules, SetDlgItemInt's forms and
// GetDlgItemTextA's truncation, on a live dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "dialogProbe.h"
#include "resource.h"

namespace {

using probe::DialogTest;

// Runs body on the open probe dialog, then presses OK.
void withProbe(const std::function<void(HWND, td::Modal&)>& body) {
    probe::show(probe::kProbe, [&](td::Modal& m) {
        body(probe::dialog(), m);
        m.click(IDOK);
    });
}

struct ReadRow {
    std::string text;
    BOOL isSigned;
    UINT value;
    BOOL translated;
};

std::ostream& operator<<(std::ostream& out, const ReadRow& row) {
    return out << "\"" << row.text << "\" " << (row.isSigned ? "signed" : "unsigned");
}

class DialogItemInt : public DialogTest, public ::testing::WithParamInterface<ReadRow> {};

TEST_P(DialogItemInt, ReadsAsWindowsDoes) {
    const ReadRow& row = GetParam();
    withProbe([&](HWND dialog, td::Modal&) {
        ASSERT_TRUE(SetDlgItemTextA(dialog, 32, row.text.c_str()));
        BOOL translated = 99;
        EXPECT_EQ(GetDlgItemInt(dialog, 32, &translated, row.isSigned), row.value);
        EXPECT_EQ(translated, row.translated);
        EXPECT_EQ(GetDlgItemInt(dialog, 32, nullptr, row.isSigned), row.value);  // the flag may be left out
    });
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DialogItemInt,
    ::testing::Values(ReadRow{"1", FALSE, 1, TRUE}, ReadRow{"0", FALSE, 0, TRUE}, ReadRow{"  42", FALSE, 42, TRUE},
                      ReadRow{"42  ", FALSE, 42, TRUE}, ReadRow{"007", FALSE, 7, TRUE},
                      ReadRow{"4294967295", FALSE, 4294967295u, TRUE}, ReadRow{"4294967296", FALSE, 0, FALSE},
                      ReadRow{"99999999999999999999", FALSE, 0, FALSE}, ReadRow{"-5", FALSE, 0, FALSE},
                      ReadRow{"-5", TRUE, static_cast<UINT>(-5), TRUE},
                      ReadRow{" -12 ", TRUE, static_cast<UINT>(-12), TRUE},
                      ReadRow{"2147483647", TRUE, 2147483647u, TRUE}, ReadRow{"2147483648", TRUE, 0, FALSE},
                      ReadRow{"-2147483648", TRUE, 0x80000000u, TRUE}, ReadRow{"-2147483649", TRUE, 0, FALSE},
                      ReadRow{"", FALSE, 0, FALSE}, ReadRow{"   ", FALSE, 0, FALSE}, ReadRow{"-", TRUE, 0, FALSE},
                      ReadRow{"12a", FALSE, 0, FALSE}, ReadRow{"1 2", FALSE, 0, FALSE}, ReadRow{"+7", FALSE, 0, FALSE},
                      ReadRow{"2.5", FALSE, 0, FALSE}, ReadRow{"Enter #", TRUE, 0, FALSE},
                      ReadRow{"- 3", TRUE, 0, FALSE}));

struct WriteRow {
    UINT value;
    BOOL isSigned;
    std::string text;
};

class DialogItemSetInt : public DialogTest, public ::testing::WithParamInterface<WriteRow> {};

TEST_P(DialogItemSetInt, WritesTheDecimalForm) {
    const WriteRow& row = GetParam();
    withProbe([&](HWND dialog, td::Modal& m) {
        EXPECT_TRUE(SetDlgItemInt(dialog, 32, row.value, row.isSigned));
        EXPECT_EQ(m.itemText(32), row.text);
        BOOL translated = FALSE;
        EXPECT_EQ(GetDlgItemInt(dialog, 32, &translated, row.isSigned), row.value);  // and back
        EXPECT_TRUE(translated);
    });
}

INSTANTIATE_TEST_SUITE_P(Values, DialogItemSetInt,
                         ::testing::Values(WriteRow{1, FALSE, "1"}, WriteRow{0, TRUE, "0"},
                                           WriteRow{4294967295u, FALSE, "4294967295"},
                                           WriteRow{static_cast<UINT>(-3), TRUE, "-3"},
                                           WriteRow{static_cast<UINT>(-3), FALSE, "4294967293"},
                                           WriteRow{2147483648u, TRUE, "-2147483648"}));

struct TextRow {
    std::string text;
    int maxCount;
    std::string copied;
};

class DialogItemText : public DialogTest, public ::testing::WithParamInterface<TextRow> {};

TEST_P(DialogItemText, CopiesAtMostOneLessThanTheBuffer) {
    const TextRow& row = GetParam();
    withProbe([&](HWND dialog, td::Modal&) {
        ASSERT_TRUE(SetDlgItemTextA(dialog, 32, row.text.c_str()));
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        UINT count = GetDlgItemTextA(dialog, 32, buffer, row.maxCount);
        EXPECT_EQ(count, row.copied.size());
        EXPECT_EQ(std::string(buffer), row.copied);
        EXPECT_EQ(buffer[row.maxCount], '#');  // nothing written past the given size
    });
}

INSTANTIATE_TEST_SUITE_P(Buffers, DialogItemText,
                         ::testing::Values(TextRow{"Enter #", 7, "Enter "}, TextRow{"Enter #", 8, "Enter #"},
                                           TextRow{"Enter #", 20, "Enter #"}, TextRow{"1.23456", 7, "1.2345"},
                                           TextRow{"abc", 1, ""}, TextRow{"", 5, ""},
                                           TextRow{"\xe9t\xe9 \xb0", 10, "\xe9t\xe9 \xb0"}));

TEST_F(DialogTest, ZeroSizedBufferIsLeftAlone) {
    withProbe([](HWND dialog, td::Modal&) {
        SetDlgItemTextA(dialog, 32, "abc");
        char buffer[4] = {'#', '#', '#', '\0'};
        EXPECT_EQ(GetDlgItemTextA(dialog, 32, buffer, 0), 0u);
        EXPECT_STREQ(buffer, "###");
    });
}

TEST_F(DialogTest, TextsOfEveryControlKindRoundTrip) {
    probe::show(IDD_SWAPFIELDS, [](td::Modal& m) {
        HWND dialog = probe::dialog();
        for (int id : {IDC_LINECOUNT, IDC_SWAP_YES, IDC_SKIPHEADER, IDOK}) {
            std::string text = "t\xe9xt " + std::to_string(id);
            EXPECT_TRUE(SetDlgItemTextA(dialog, id, text.c_str()));
            EXPECT_EQ(m.itemText(id), text);
            char buffer[64];
            EXPECT_EQ(GetDlgItemTextA(dialog, id, buffer, sizeof buffer), text.size());
            EXPECT_EQ(std::string(buffer), text);
        }
        SetDlgItemInt(dialog, IDC_LINECOUNT, 1234, FALSE);
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), "1234");
        m.click(IDCANCEL);
    });
}

TEST_F(DialogTest, MissingItemsFailQuietly) {
    withProbe([](HWND dialog, td::Modal&) {
        EXPECT_EQ(GetDlgItem(dialog, 4711), nullptr);
        EXPECT_FALSE(SetDlgItemTextA(dialog, 4711, "x"));
        EXPECT_FALSE(SetDlgItemInt(dialog, 4711, 1, FALSE));
        BOOL translated = TRUE;
        EXPECT_EQ(GetDlgItemInt(dialog, 4711, &translated, FALSE), 0u);
        EXPECT_FALSE(translated);
        char buffer[8] = "keep";
        EXPECT_EQ(GetDlgItemTextA(dialog, 4711, buffer, sizeof buffer), 0u);
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ(IsDlgButtonChecked(dialog, 4711), static_cast<UINT>(BST_UNCHECKED));
        // Buttons without a check state report none.
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDOK), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(GetDlgItem(nullptr, IDOK), nullptr);
    });
}

}  // namespace
