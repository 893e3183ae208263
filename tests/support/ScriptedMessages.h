#pragma once

#include "Clock.h"
#include "Messages.h"

#include <QDate>
#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

// Records every message and answers questions from a script; a question that
// nobody scripted fails the test (see unexpectedQuestions).
class ScriptedMessages : public Messages {
public:
    enum class Kind { Warning, Critical, Information, Question };
    struct Shown {
        Kind kind;
        QString text;
    };

    void warning(QWidget*, const QString& text) override { m_shown.append({Kind::Warning, text}); }
    void critical(QWidget*, const QString& text) override { m_shown.append({Kind::Critical, text}); }
    void information(QWidget*, const QString& text) override { m_shown.append({Kind::Information, text}); }
    bool question(QWidget* parent, const QString& text) override { return ask(parent, text) == Answer::Yes; }
    Answer ask(QWidget*, const QString& text) override
    {
        m_shown.append({Kind::Question, text});
        if (onAsk)
            onAsk();
        if (m_answers.isEmpty()) {
            ++m_unexpectedQuestions;
            return Answer::No;
        }
        return m_answers.dequeue();
    }

    // Called as each question is asked, to look at the windows then.
    std::function<void()> onAsk;

    // Answers for the next questions, in order: true = Yes.
    void answer(bool yes) { m_answers.enqueue(yes ? Answer::Yes : Answer::No); }
    // The next question's box is dismissed (Esc, or its close button).
    void dismiss() { m_answers.enqueue(Answer::Dismissed); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& s : m_shown) out << s.text;
        return out;
    }
    QStringList texts(Kind kind) const
    {
        QStringList out;
        for (const auto& s : m_shown)
            if (s.kind == kind) out << s.text;
        return out;
    }
    int unexpectedQuestions() const { return m_unexpectedQuestions; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QQueue<Answer> m_answers;
    int m_unexpectedQuestions = 0;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDate today) : m_today(today) {}
    QDate today() const override { return m_today; }
    void set(QDate today) { m_today = today; }

private:
    QDate m_today;
};
