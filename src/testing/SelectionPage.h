#pragma once

#include "TestPages.h"
#include "app/Page.h"

struct AppState;
class QListWidget;
class Shell;

// Page 9: the pairs of the lesson, of which the user picks those to be tested.
class SelectionPage : public Page {
    Q_OBJECT
public:
    SelectionPage(AppState& state, Shell& shell, QWidget* parent = nullptr);
    void setPages(const TestPages& pages) { m_pages = pages; }

    // Lists the pair lines in their selection form, nothing selected.
    void fill(const QStringList& pairLines);
    // The stored pair lines of the selected items, in list order.
    QStringList selectedLines() const;
    void F9CmdOK_Click();
    void F9CmdStorno_Click();

private:
    QListWidget* list(const char* name) const;

    AppState& m_state;
    Shell& m_shell;
    TestPages m_pages;
};
