// Helpers of the output tests: a main window with a point file open and drawn, and the
// answers a user gives to the write options dialogs and the save dialog.
#ifndef SKERROW_TESTS_OUTPUT_OUTPUTTEST_H
#define SKERROW_TESTS_OUTPUT_OUTPUTTEST_H

#include <gtest/gtest.h>

#include <string>

#include "app/areaSelection.h"
#include "app/commands.h"
#include "app/mainWindow.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"

// How the points to write are chosen.
struct Area {
    enum Kind { All, Rectangle, Circle } kind;
    int a, b, c, d;  // rectangle: minX, maxX, minY, maxY; circle: centre x, centre y, radius

    static Area all() { return {All, 0, 0, 0, 0}; }
    static Area rect(int minX, int maxX, int minY, int maxY) { return {Rectangle, minX, maxX, minY, maxY}; }
    static Area circle(int x, int y, int radius) { return {Circle, x, y, radius, 0}; }
};

// The answers to " Write File As" and " Conversion".
struct WriteChoice {
    int form = IDC_FORM_COMMA;     // IDC_FORM_COMMA, IDC_FORM_SPACE or IDC_FORM_TAB
    const char* tabs = nullptr;    // typed into the tab count, or left at its preset 1
    int conversion = 0;            // 0: "Modify Values?" unchecked; else the radio id
    const char* factor = nullptr;  // typed into the factor edit, or left as it is
    bool elevationsOnly = false;
};

class OutputTest : public AppTest {
protected:
    // Opens and draws a point file of the test's folder.
    std::string openPoints(const std::string& content, bool swap = false, bool skipHeader = false,
                           const std::string& name = "points.csv") {
        std::string input = file(name, content);
        openFile(input, swap, skipHeader, firstOpen);
        firstOpen = false;
        EXPECT_EQ(g_viewState, ViewState::Drawn) << "the point file did not open: " << content;
        return input;
    }

    static void answerWriteFileAs(const WriteChoice& choice) {
        td::expectModal([choice](td::Modal& m) {
            ASSERT_EQ(m.templateId(), IDD_WRITEFILEAS);
            m.click(choice.form);
            if (choice.tabs) m.type(IDC_TABCOUNT, choice.tabs);
            if (choice.conversion) m.click(IDC_MODIFYVALUES);
            m.click(IDOK);
        });
        if (!choice.conversion) return;
        td::expectModal([choice](td::Modal& m) {
            ASSERT_EQ(m.templateId(), IDD_CONVERSION);
            m.click(choice.conversion);
            if (choice.factor) m.type(IDC_FACTOR, choice.factor);
            if (choice.elevationsOnly) m.click(IDC_ELEVATIONSONLY);
            m.click(IDOK);
        });
    }

    static void answerSave(const std::string& path) {
        td::expectModal([path](td::Modal& m) {
            ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
            m.choose(path);
        });
    }

    // An existing file chosen: the save dialog asks before replacing it, and the user says Yes.
    static void answerSaveReplacing(const std::string& path) {
        answerSave(path);
        td::expectModal([](td::Modal& m) {
            EXPECT_EQ(m.caption(), "Confirm Save As");
            m.answer(IDYES);
        });
    }

    static void expectSaved(int count, const std::string& path) {
        td::expectMessage("File Saved", std::to_string(count) + " points written to " + path);
    }

    // Starts the write sequence for the area: "Select All Pts." for all points, else the
    // selection area record set as a finished drag leaves it.
    void startWrite(const Area& area) {
        if (area.kind == Area::All) {
            td::command(window, IDM_SELECTALL);
            return;
        }
        g_areaType = area.kind == Area::Rectangle ? AreaType::Rectangle : AreaType::Circle;
        if (area.kind == Area::Rectangle) {
            g_selMinX = area.a;
            g_selMaxX = area.b;
            g_selMinY = area.c;
            g_selMaxY = area.d;
        } else {
            g_circleCenterX = area.a;
            g_circleCenterY = area.b;
            g_circleRadius = area.c;
            g_selMinX = area.a - area.c;
            g_selMaxX = area.a + area.c;
            g_selMinY = area.b - area.c;
            g_selMaxY = area.b + area.c;
        }
        runWriteSequence(window, 0, NULL);
    }

    // One whole write through the dialogs; returns the output file's bytes.
    std::string writeAndRead(const Area& area, const WriteChoice& choice, int expectedCount,
                             const std::string& name = "out.txt") {
        std::string out = path(name);
        answerWriteFileAs(choice);
        answerSave(out);
        expectSaved(expectedCount, out);
        startWrite(area);
        return read(out);
    }

    // Messages shown so far whose caption is the given one.
    static int messagesWithCaption(const std::string& caption) {
        int count = 0;
        for (const std::string& entry : td::modalLog())
            if (entry.rfind(caption + ":", 0) == 0) ++count;
        return count;
    }

    bool firstOpen = true;
};

#endif
