// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ResultsPage;
class SelectionPage;
class TestPage;
class TestSetupPage;

// The four pages of a test hand over to each other; the main window tells each page the others.
struct TestPages {
    TestSetupPage* setup = nullptr;     // page 2
    TestPage* test = nullptr;           // page 5
    ResultsPage* results = nullptr;     // page 6
    SelectionPage* selection = nullptr; // page 9
};
