// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/HintKind.h"

#include <cstddef>

// The pages of the main window. Page::Page turns one into its frame's name ("Frames(i)"), the only
// place where a page is a number.
enum class PageId {
    Intro,
    MainMenu,
    TestSetup,
    UserTextbook, // the lesson actions
    Settings,
    Test,
    Results,
    NewLesson, // a new lesson, or more pairs for one
    PairList,
    PairSelection,
    Review, // the due pairs and their review (a page of our own beyond the ten of the tree's labels)
};
constexpr std::size_t kPageCount = 11;
// The navigation tree's labels "LblNav(i)", one for each of the first ten pages.
constexpr std::size_t kNavLabelCount = 10;

constexpr std::size_t pageIndex(PageId page) {
    return static_cast<std::size_t>(page);
}

// What the QuickClick window shows.
enum class QuickClickPage { None, MenuJumps, TestHints };
