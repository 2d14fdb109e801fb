#include "ui/HelpWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

// The pages and pictures are compiled into this static library and must be registered by hand.
static void registerHelpPages() {
    Q_INIT_RESOURCE(help);
    Q_INIT_RESOURCE(pictures);
}

namespace puka::ui {
namespace {

const QString kCompiledRoot = QStringLiteral(":/help");
const QString kIndexPage = QStringLiteral("index.html");
// wider screen pictures are scaled down so that a page fits the window's default size
constexpr int kMaxPictureWidth = 640;

// The local file behind @p url, or an empty string for a url that names none.
QString localPath(const QUrl& url) {
    if (url.scheme() == QLatin1String("qrc"))
        return QLatin1Char(':') + url.path();
    if (url.isLocalFile())
        return url.toLocalFile();
    return QString();
}

bool pointsAtMissingFile(const QUrl& url) {
    const QString path = localPath(url);
    return !path.isEmpty() && !QFileInfo(path).isFile();
}

// Drops every screen-picture paragraph of @p html whose picture is missing.
QString withoutMissingPictures(QString html, const QUrl& pageUrl) {
    static const QRegularExpression shot(QStringLiteral("<p\\s+class=\"shot\"[^>]*>.*?</p>\\s*"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression source(QStringLiteral("<img\\s[^>]*src=\"([^\"]+)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch paragraph = shot.match(html, from);
        if (!paragraph.hasMatch())
            break;
        bool missing = false;
        auto images = source.globalMatch(paragraph.captured(0));
        while (images.hasNext() && !missing)
            missing = pointsAtMissingFile(pageUrl.resolved(QUrl(images.next().captured(1))));
        if (missing) {
            html.remove(paragraph.capturedStart(0), paragraph.capturedLength(0));
            from = paragraph.capturedStart(0);
        } else {
            from = paragraph.capturedEnd(0);
        }
    }
    return html;
}

// The viewer of the pages: leaves out missing screen pictures, never draws a broken-image box and
// scales wide pictures down.
class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant data = QTextBrowser::loadResource(type, name);
        if (type == QTextDocument::HtmlResource && data.isValid()) {
            // our pages are UTF-8, whatever the platform's locale
            const QUrl page = source().isEmpty() ? name : source().resolved(name);
            return withoutMissingPictures(QString::fromUtf8(data.toByteArray()), page);
        }
        if (type != QTextDocument::ImageResource)
            return data;
        if (!data.isValid()) {
            QImage blank(1, 1, QImage::Format_ARGB32);
            blank.fill(Qt::transparent);
            return blank;
        }
        QImage picture =
            data.userType() == QMetaType::QImage ? data.value<QImage>() : QImage::fromData(data.toByteArray());
        if (picture.width() > kMaxPictureWidth)
            return picture.scaledToWidth(kMaxPictureWidth, Qt::SmoothTransformation);
        return data;
    }
};

QToolButton* makeNavigationButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                                  const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setText(caption);
    button->setToolTip(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

const QList<HelpWindow::Topic>& HelpWindow::topics() {
    static const QList<Topic> list = {
        {QStringLiteral("index.html"), QStringLiteral("はじめに")},
        {QStringLiteral("main.html"), QStringLiteral("メイン画面")},
        {QStringLiteral("graph.html"), QStringLiteral("全グラフ")},
        {QStringLiteral("daily.html"), QStringLiteral("日平均")},
        {QStringLiteral("range.html"), QStringLiteral("範囲指定")},
        {QStringLiteral("analysis.html"), QStringLiteral("分析リスト")},
        {QStringLiteral("calendar.html"), QStringLiteral("カレンダー")},
        {QStringLiteral("diary.html"), QStringLiteral("一言日記と気付きメモ")},
        {QStringLiteral("edit.html"), QStringLiteral("編集画面")},
        {QStringLiteral("mending.html"), QStringLiteral("記録の修正と削除、元に戻す")},
        {QStringLiteral("import.html"), QStringLiteral("インポートとエクスポート")},
        {QStringLiteral("helptour.html"), QStringLiteral("ヘルプツアー")},
        {QStringLiteral("files.html"), QStringLiteral("データファイルについて")},
    };
    return list;
}

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), m_root(kCompiledRoot) {
    registerHelpPages();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Pukapuka☆ダイエット ヘルプ"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/toolbar/cmdHelp.svg")));
    setWindowModality(Qt::NonModal);

    QHBoxLayout* bar = buildNavigation();
    QWidget* contents = buildContents();
    buildBrowser();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 700});
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    connectNavigation();
    resize(900, 650);
}

QHBoxLayout* HelpWindow::buildNavigation() {
    m_back = makeNavigationButton(this, "helpBack", QStyle::SP_ArrowBack, QStringLiteral("戻る"));
    m_forward = makeNavigationButton(this, "helpForward", QStyle::SP_ArrowForward, QStringLiteral("進む"));
    m_home = makeNavigationButton(this, "helpHome", QStyle::SP_DirHomeIcon, QStringLiteral("目次"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    bar->setSpacing(4);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addSpacing(8);
    bar->addWidget(m_home);
    bar->addStretch(1);
    return bar;
}

QWidget* HelpWindow::buildContents() {
    auto* contents = new QWidget(this);
    auto* contentsLayout = new QVBoxLayout(contents);
    contentsLayout->setContentsMargins(0, 0, 0, 0);
    contentsLayout->setSpacing(2);
    auto* caption = new QLabel(QStringLiteral("目次"), contents);
    caption->setContentsMargins(6, 2, 0, 2);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    m_topicList = new QListWidget(contents);
    m_topicList->setObjectName(QStringLiteral("helpTopics"));
    m_topicList->setStyleSheet(QStringLiteral("QListWidget { background: #fffafc; color: #2e2a38; padding: 4px; }"
                                              "QListWidget::item:selected { background: #fbd3e3; color: #5a2a42; }"));
    for (const Topic& topic : topics()) {
        auto* item = new QListWidgetItem(topic.title, m_topicList);
        item->setSizeHint(QSize(0, m_topicList->fontMetrics().height() * 2));
    }
    contentsLayout->addWidget(caption);
    contentsLayout->addWidget(m_topicList, 1);
    return contents;
}

void HelpWindow::buildBrowser() {
    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // links are followed by followLink(), which refuses a page that is not there
    m_browser->setOpenLinks(false);
    m_browser->document()->setDocumentMargin(14);
}

void HelpWindow::connectNavigation() {
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_home, &QToolButton::clicked, this, [this] { showTopic(kIndexPage); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::markCurrentTopic);
    connect(m_topicList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < topics().size())
            showTopic(topics().at(row).page);
    });
}

void HelpWindow::setHelpRoot(const QString& root) {
    m_root = root;
}

bool HelpWindow::hasPage(const QString& page) const {
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    return !file.isEmpty() && QFileInfo(QDir(m_root).filePath(file)).isFile();
}

QUrl HelpWindow::pageUrl(const QString& page) const {
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const QString anchor = page.section(QLatin1Char('#'), 1);
    QUrl url = m_root.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + QDir(m_root).filePath(file))
                                                   : QUrl::fromLocalFile(QDir(m_root).absoluteFilePath(file));
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

bool HelpWindow::showTopic(const QString& page) {
    if (!hasPage(page))
        return false;
    m_browser->setSource(pageUrl(page));
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    return true;
}

QString HelpWindow::currentPage() const {
    return m_browser->source().fileName();
}

void HelpWindow::followLink(const QUrl& link) {
    const QUrl target = m_browser->source().resolved(link);
    const QString path = localPath(target);
    if (path.isEmpty()) {
        // a page on the web or a mail address: the system's programs open it
        QDesktopServices::openUrl(target);
        return;
    }
    if (QFileInfo(path).isFile())
        m_browser->setSource(target);
}

void HelpWindow::markCurrentTopic(const QUrl& shown) {
    // the browser reports the new page before source() returns it
    const QString page = shown.fileName();
    int row = -1;
    for (int i = 0; i < topics().size(); ++i) {
        if (topics().at(i).page == page)
            row = i;
    }
    // the list follows the page without opening it a second time
    const QSignalBlocker blocker(m_topicList);
    m_topicList->setCurrentRow(row);
}

} // namespace puka::ui
