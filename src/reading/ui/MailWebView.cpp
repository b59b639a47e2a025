#include "reading/ui/MailWebView.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace {

const QByteArray kScheme = "tallowin-mail";

// Only the document and data: URLs load.
class BlockRemoteContent final : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != QLatin1String(kScheme) && scheme != QLatin1String("data"))
            info.block(true);
    }
};

class MailPage final : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (type == NavigationTypeLinkClicked) {
            const QString scheme = url.scheme();
            if (scheme == QLatin1String("http") || scheme == QLatin1String("https")
                || scheme == QLatin1String("mailto"))
                QDesktopServices::openUrl(url);
            return false;
        }
        return url.scheme() == QLatin1String(kScheme) || !isMainFrame;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

} // namespace

class MailSchemeHandler final : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    QByteArray document;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        auto* buffer = new QBuffer(job);
        buffer->setData(document);
        buffer->open(QIODevice::ReadOnly);
        job->reply("text/html;charset=utf-8", buffer);
    }
};

MailWebView::MailWebView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("HtmlView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

MailWebView::~MailWebView()
{
    close();
}

void MailWebView::registerScheme()
{
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void MailWebView::create(const QString& dataFolder)
{
    if (m_view)
        return;
    QDir().mkpath(dataFolder);
    m_profile = new QWebEngineProfile(QStringLiteral("TallowinMail"), this);
    m_profile->setPersistentStoragePath(dataFolder);
    m_profile->setCachePath(dataFolder + QStringLiteral("/Cache"));
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setUrlRequestInterceptor(new BlockRemoteContent(m_profile));
    m_handler = new MailSchemeHandler(m_profile);
    m_profile->installUrlSchemeHandler(kScheme, m_handler);
    QWebEngineSettings* settings = m_profile->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);

    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("WebView"));
    m_view->setPage(new MailPage(m_profile, m_view));
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_view, &QWebEngineView::loadFinished, this, &MailWebView::loadFinished);
    layout()->addWidget(m_view);
}

void MailWebView::close()
{
    if (!m_view)
        return;
    // The page goes before its profile.
    delete m_view;
    m_view = nullptr;
    delete m_profile;
    m_profile = nullptr;
    m_handler = nullptr;
    m_html.clear();
}

void MailWebView::setZoomFactor(double factor)
{
    if (m_view)
        m_view->setZoomFactor(factor);
}

double MailWebView::zoomFactor() const
{
    return m_view ? m_view->zoomFactor() : 1.0;
}

void MailWebView::showHtml(const QString& html)
{
    if (!m_view)
        return;
    m_html = html;
    m_handler->document = html.toUtf8();
    // A new address each time, so that the engine never serves an old copy.
    m_view->setUrl(QUrl(QStringLiteral("%1:message/%2").arg(QLatin1String(kScheme)).arg(++m_serial)));
}
