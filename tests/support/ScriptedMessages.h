// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/MessageBox.h"

#include <QList>
#include <QStringList>

#include <deque>

// Stands in for the real message boxes during a test: records every box asked for and answers
// from a script (OK for OK boxes; for Yes/No boxes the next scripted answer, No when none is left).
// A chain of boxes that never ends stops the test instead of hanging it.
class ScriptedMessages {
public:
    static constexpr int kMaxBoxes = 100;

    ScriptedMessages() {
        MessageBox::setHandler([this](const MessageBox::Request& request) {
            shown.append(request);
            if (shown.size() > kMaxBoxes)
                qFatal("more than %d message boxes, the last: %s", kMaxBoxes, qPrintable(request.text));
            if (request.buttons == MessageBox::Buttons::Ok)
                return MessageBox::Answer::Ok;
            if (answers.empty())
                return MessageBox::Answer::No;
            const MessageBox::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~ScriptedMessages() { MessageBox::setHandler({}); }
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void answer(MessageBox::Answer next) { answers.push_back(next); }
    QStringList texts() const {
        QStringList result;
        for (const auto& request : shown)
            result.append(request.text);
        return result;
    }

    QList<MessageBox::Request> shown;
    std::deque<MessageBox::Answer> answers;
};
