#pragma once

// Helpers for the tests that need the main window (they link the GUI library).

#include "app/ui/TFrmQuillet.h"
#include "app/ui/UiFont.h"
#include "reading/ui/MailWebView.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// A main window on the test's private folders, asking the recording prompt.
// The main window's tab area, for checks of its tabs' captions and order.
inline QTabWidget* tabArea(const QWidget& window)
{
    return window.findChild<QTabWidget*>(QStringLiteral("TabArea"));
}

inline std::unique_ptr<TFrmQuillet> makeTestWindow(const TestEnvironment& env, RecordingPrompt& prompt)
{
    QuilletOptions options;
    options.prompt = &prompt;
    options.folders = env.folders();
    options.programFolder = env.programFolder();
    options.programFile = QStringLiteral("tallowin");
    return std::make_unique<TFrmQuillet>(options);
}

// main() for a test that shows HTML: the mail URL scheme is registered and
// the web engine set up before the application object exists.
#define TALLOWIN_GUI_TEST_MAIN(TestClass)                                                                              \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        MailWebView::registerScheme();                                                                                 \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                                    \
        QApplication app(argc, argv);                                                                                  \
        installUiFont();                                                                                               \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
