#pragma once

#include "fakeprinter.h"
#include "fakeprompts.h"
#include "ui/appcontext.h"
#include "ui/resources.h"
#include "ui/tform1.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace nobrisa::test {

// A main window over a temporary application INI file, a fake printer and scripted answers.
// The font lists offer the Windows faces the settings files name, without those of a test's
// choosing.
class TForm1Test : public ::testing::Test {
protected:
    TForm1Test()
    {
        // As the program does at start-up: the toolbar's own pictures.
        initResources();
        context.appIniPath = dir.filePath(QStringLiteral("nobrisa.ini"));
        context.helpPath = dir.filePath(QStringLiteral("nobrisa.html"));
        context.workingFolder = dir.path();
        context.executableFolder = dir.path();
        context.screenSize = {1920, 1080};
        context.faces = QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("OCRB"),
                                    QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ 明朝")};
    }

    std::unique_ptr<TForm1> makeForm()
    {
        return std::make_unique<TForm1>(context, printer, prompts);
    }

    // A shown, active window, for tests that need the keyboard focus.
    std::unique_ptr<TForm1> makeActiveForm()
    {
        auto form = makeForm();
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }

    template <class W = QWidget> static W* widget(const TForm1& form, const char* name)
    {
        auto* w = form.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    static QAction* action(const TForm1& form, const char* name)
    {
        return widget<QAction>(form, name);
    }

    // Types text as the keyboard would deliver it, Japanese included (QTest::keyClicks knows
    // ASCII only).
    static void type(QWidget* target, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &release);
        }
    }

    // Writes a file's bytes as given. A settings file without a byte-order mark reads as CP932.
    QString writeFile(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    QTemporaryDir dir;
    AppContext context;
    FakePrinter printer;
    FakePrompts prompts;
};

} // namespace nobrisa::test
