#pragma once

#include "ui/prompts.h"

#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace nobrisa::test {

// Answers the program's questions from queues the test fills, and records what was asked. A
// question with an empty queue is answered as a cancel.
class FakePrompts final : public Prompts {
public:
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> inputAnswers; // a null QString answers with Cancel
    std::deque<SaveFailedChoice> saveFailedAnswers;
    std::deque<bool> confirmAnswers; // none left: the default button, which declines

    std::vector<FileDialog> openAsked;
    std::vector<FileDialog> saveAsked;
    QStringList inputsAsked; // "caption|prompt"
    QStringList errors;
    QStringList warnings;
    QStringList confirmsAsked; // "message|accept|reject"
    QStringList saveFailedMessages;
    int printerSetups = 0;
    std::vector<QUrl> opened;
    bool openUrlSucceeds = true; // false: the desktop has no program to open it with
    // The progress display: the label and total of each one shown, every count it was given,
    // and after how many pages drawn the user presses "中止" (never when negative).
    QStringList progressShown; // "label|total"
    std::vector<int> progressSteps;
    int cancelAfterPages = -1;
    // Called with each count given to the progress display, while the job runs.
    std::function<void(int)> onProgress;

    QString openFile(QWidget*, const FileDialog& d) override
    {
        openAsked.push_back(d);
        return take(openAnswers);
    }
    QString saveFile(QWidget*, const FileDialog& d) override
    {
        saveAsked.push_back(d);
        return take(saveAnswers);
    }
    std::optional<QString> inputText(QWidget*, const QString& caption, const QString& prompt,
                                     const QString&) override
    {
        inputsAsked << caption + QLatin1Char('|') + prompt;
        const QString answer = take(inputAnswers);
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }
    void error(QWidget*, const QString& message) override { errors << message; }
    void warning(QWidget*, const QString& message) override { warnings << message; }
    bool confirm(QWidget*, Tone, const QString& message, const QString& accept,
                 const QString& reject) override
    {
        confirmsAsked << message + QLatin1Char('|') + accept + QLatin1Char('|') + reject;
        if (confirmAnswers.empty())
            return false;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    SaveFailedChoice saveFailedAtExit(QWidget*, const QString& message) override
    {
        saveFailedMessages << message;
        if (saveFailedAnswers.empty())
            return SaveFailedChoice::CloseWithoutSaving;
        const SaveFailedChoice c = saveFailedAnswers.front();
        saveFailedAnswers.pop_front();
        return c;
    }
    void printerSetup(QWidget*, QPrinter&) override { ++printerSetups; }
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return openUrlSucceeds;
    }
    std::unique_ptr<Progress> progress(QWidget*, const QString& label, int total) override
    {
        progressShown << label + QLatin1Char('|') + QString::number(total);
        return std::make_unique<ScriptedProgress>(*this);
    }

private:
    class ScriptedProgress final : public Progress {
    public:
        explicit ScriptedProgress(FakePrompts& owner)
            : mOwner(owner)
        {
        }
        bool advance(int done) override
        {
            mOwner.progressSteps.push_back(done);
            if (mOwner.onProgress)
                mOwner.onProgress(done);
            return mOwner.cancelAfterPages < 0 || done < mOwner.cancelAfterPages;
        }

    private:
        FakePrompts& mOwner;
    };

    static QString take(std::deque<QString>& q)
    {
        if (q.empty())
            return {};
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

} // namespace nobrisa::test
