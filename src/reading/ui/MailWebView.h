#pragma once

#include <QString>
#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;
class MailSchemeHandler;

// The HTML view of a message. Mail is untrusted: JavaScript is off, nothing
// is fetched from the network (only data: URLs and the document itself
// load), and a clicked link opens in the user's browser instead of the view.
// The document is served through a URL scheme of our own, so that bodies
// of any size show (a document given as a string is limited to 2 MB).
class MailWebView : public QWidget
{
    Q_OBJECT

public:
    explicit MailWebView(QWidget* parent = nullptr);
    ~MailWebView() override;

    // Must run before the application object is made.
    static void registerScheme();

    bool created() const { return m_view != nullptr; }
    // The engine keeps its data (cache, local storage) in dataFolder.
    void create(const QString& dataFolder);
    void close();

    void setZoomFactor(double factor);
    double zoomFactor() const;

    void showHtml(const QString& html);
    QString shownHtml() const { return m_html; }
    QWebEngineView* view() const { return m_view; }

Q_SIGNALS:
    void loadFinished(bool ok);

private:
    QWebEngineView* m_view = nullptr;
    QWebEngineProfile* m_profile = nullptr;
    MailSchemeHandler* m_handler = nullptr;
    QString m_html;
    int m_serial = 0;
};
