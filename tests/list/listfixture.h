#pragma once

#include "common/tempdir.h"
#include "list/savlistwindow.h"
#include "support/pathsep.h"
#include "toolkit/headless/headless.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// The main window as the list sees it: records every call in order.
class RecordingOwner : public TSavListOwner {
  public:
    std::vector<std::string> calls;
    bool acceptClicks = true;

    void resetPlayerInfo(const char* fileName) override {
        calls.push_back(std::string("open ") + fileName);
    }
    bool leftClick(const TPoint& point, uint fromList) override {
        calls.push_back("leftClick " + std::to_string(point.x) + "," + std::to_string(point.y) +
                        " " + std::to_string(fromList));
        return acceptClicks;
    }
    void endDrag() override { calls.push_back("endDrag"); }
    void listPopupMenu(const TPoint& point) override {
        calls.push_back("popup " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    void processListKeyDown(uint key) override {
        calls.push_back("listKey " + std::to_string(key));
    }
    void EvKeyDown(uint key, uint, uint) override {
        calls.push_back("editorKeyDown " + std::to_string(key));
    }
    void EvKeyUp(uint key, uint, uint) override {
        calls.push_back("editorKeyUp " + std::to_string(key));
    }

    // The files opened since the last call, and forgets every call.
    std::vector<std::string> takeOpened() {
        std::vector<std::string> opened;
        for (const auto& call : calls) {
            if (call.rfind("open ", 0) == 0) {
                opened.push_back(call.substr(5));
            }
        }
        calls.clear();
        return opened;
    }
};

// A list in a main window's place, over a SAV folder in a temporary folder.
class SavListTest : public ::testing::Test {
  protected:
    TempDir dir;
    TWindow host{nullptr};
    RecordingOwner owner;
    TSavListWindow list{&host, owner, 4, 2, 24, 348, 142};

    SavListTest() { headless::reset(); }

    void SetUp() override {
        // The columns the main window gives the list before it fills it.
        list.InsertColumn(0, TListWindColumn("SAV File", 120));
        list.InsertColumn(1, TListWindColumn("Callsign", 133));
        list.InsertColumn(2, TListWindColumn("Modified", 75));
        list.setSavPath(dir.folder().c_str());
    }

    // Writes the files into the folder, "name/" as a folder.
    static void write(const TempDir& folder, const std::vector<std::string>& files) {
        for (const auto& name : files) {
            if (name.back() == '/') {
                std::filesystem::create_directory(folder.path() / name.substr(0, name.size() - 1));
            } else {
                folder.write(name, "sav");
            }
        }
    }
    // The list filled from a folder of its own holding files (each case of a table its own).
    void fillFrom(const TempDir& folder, const std::vector<std::string>& files) {
        write(folder, files);
        list.setSavPath(folder.folder().c_str());
        list.fillListWindow();
    }
    void fill(const std::vector<std::string>& files) { fillFrom(dir, files); }
    // The first index selected as the program selects, the others by control-clicks.
    void select(const std::vector<int>& indexes) {
        list.selectIndex(indexes.front());
        for (std::size_t i = 1; i < indexes.size(); ++i) {
            headless::clickListItem(list, indexes[i], MK_CONTROL);
        }
    }

    std::vector<std::string> labels() const { return headless::listLabels(list); }
    std::vector<int> images() const { return headless::listImages(list); }
    std::vector<int> selection() const { return headless::listSelection(list); }
};
