// What the user sees whatever the style and palette: the highlight colours are exact, and
// every text stands out from the background it is drawn on, under a dark palette too.
#include "tests/ui/UiTestSupport.h"
#include "ui/panels/Panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace puka;

namespace {

// The panels in the order of their toolbar buttons.
const char* const kPanelButtons[] = {"cmdMain",    "cmdRentai", "cmdAvgtai", "cmdTaijyu",
                                     "cmdBunseki", "cmdCale",   "cmdMemo",   "cmdSettei"};

void sampleWithoutTour(const test::WorkDir& d) {
    d.copySample();
    d.writeText(QStringLiteral("設定.TXT"), QStringLiteral("\"ヘルプツアー\",0\r\n"));
}

// The colours of a dark desktop theme: light text on dark windows, fields and buttons.
QPalette darkPalette() {
    QPalette p;
    const QColor window(0x2D, 0x2D, 0x30);
    const QColor base(0x1E, 0x1E, 0x1E);
    const QColor text(0xE8, 0xE8, 0xE8);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3C, 0x3C, 0x40));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0xA0, 0xA0, 0xA0));
    p.setColor(QPalette::Highlight, QColor(0x3A, 0x6E, 0xD8));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x55));
    p.setColor(QPalette::Midlight, QColor(0x46, 0x46, 0x4A));
    p.setColor(QPalette::Mid, QColor(0x28, 0x28, 0x2A));
    p.setColor(QPalette::Dark, QColor(0x1A, 0x1A, 0x1C));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return p;
}

// Puts the application into a style or palette for one test and back afterwards.
class StyleScope {
public:
    explicit StyleScope(const QString& style) : m_style(QApplication::style()->name()) {
        QApplication::setStyle(QStyleFactory::create(style));
    }
    explicit StyleScope(const QPalette& palette)
        : m_style(QApplication::style()->name()), m_palette(QApplication::palette()) {
        QApplication::setPalette(palette);
    }
    ~StyleScope() {
        QApplication::setStyle(QStyleFactory::create(m_style));
        QApplication::setPalette(m_palette);
    }

private:
    QString m_style;
    QPalette m_palette = QApplication::palette();
};

double lightness(QRgb c) {
    return (0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c)) / 255.0;
}

// The colour a widget's face shows at its left and right end, half way down: away from its
// caption, inside its border.
QList<QColor> faceColours(QWidget* w) {
    const QImage image = w->grab().toImage();
    const int y = image.height() / 2;
    return {image.pixelColor(4, y), image.pixelColor(image.width() - 5, y)};
}

// Whether the text in @p area of @p image stands out from its background: the background
// is the commonest colour there, and some pixel of the text differs from it in lightness by
// at least 0.4 (black on white is 1; grey #808080 on white about 0.5).
bool textStandsOut(const QImage& image, const QRect& area, double* background, double* contrast) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb common = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            common = it.key();
        }
    *background = lightness(common);
    *contrast = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        *contrast = std::max(*contrast, std::abs(lightness(it.key()) - *background));
    return *contrast >= 0.4;
}

// The widgets of @p panel that show a text of their own, and that text.
QList<QPair<QWidget*, QString>> textWidgets(QWidget* panel) {
    QList<QPair<QWidget*, QString>> found;
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || w->width() < 12 || w->height() < 12)
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        else if (auto* field = qobject_cast<QLineEdit*>(w))
            text = field->text();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            text = memo->toPlainText();
        else if (auto* list = qobject_cast<QListWidget*>(w))
            text = list->count() > 0 ? list->item(0)->text() : QString();
        if (!text.trimmed().isEmpty())
            found.append({w, text});
    }
    return found;
}

} // namespace

TEST(Appearance, HighlightFacesAreTheirExactColoursOnEveryStyle) {
    const QColor rangeChoice(0xFF, 0xFF, 0xC0);
    const QColor chosenMode(0xFF, 0xE0, 0xC0);
    for (const char* style : {"Fusion", "Windows"}) {
        SCOPED_TRACE(style);
        const StyleScope scope(QString::fromLatin1(style));
        test::Window t(sampleWithoutTour);
        t.start();
        t.takeCalls();
        t.click(QStringLiteral("cmdTaijyu"));
        for (const QColor& c : faceColours(t.find<QPushButton>(QStringLiteral("cmdAllDay"))))
            EXPECT_EQ(c, rangeChoice) << c.name().toStdString();
        for (const QColor& c : faceColours(t.find<QPushButton>(QStringLiteral("cmdKikan1"))))
            EXPECT_NE(c, rangeChoice);
        t.click(QStringLiteral("cmdCale"));
        for (const QColor& c : faceColours(t.find<QPushButton>(QStringLiteral("cmdSel1(0)"))))
            EXPECT_EQ(c, chosenMode) << c.name().toStdString();
    }
}

// Every panel under a dark palette, the new-start form as well. With PUKAPUKA_SCREENSHOT_DIR
// set, each picture is saved there as dark-NAME.png.
TEST(Appearance, EveryTextStandsOutUnderADarkPalette) {
    const StyleScope scope(darkPalette());
    test::Window t(sampleWithoutTour);
    t.start();
    t.takeCalls();
    const QString shots = qEnvironmentVariable("PUKAPUKA_SCREENSHOT_DIR");
    auto check = [&](const QString& name) {
        QWidget* panel = t.w().visiblePanel();
        ASSERT_NE(panel, nullptr);
        QApplication::processEvents();
        const QImage window = t.w().grab().toImage();
        if (!shots.isEmpty())
            window.save(QDir(shots).filePath(QStringLiteral("dark-%1.png").arg(name)));
        const double scale = window.devicePixelRatio();
        for (const auto& [widget, text] : textWidgets(panel)) {
            // a widget that another one covers (the new-start form over the meter) is not seen
            const QWidget* top = t.w().childAt(widget->mapTo(&t.w(), widget->rect().center()));
            if (top != widget && !widget->isAncestorOf(top))
                continue;
            // a field's text lies in its viewport, away from its scroll bars
            const auto* scrolled = qobject_cast<QAbstractScrollArea*>(widget);
            QWidget* shown = scrolled ? scrolled->viewport() : widget;
            const QRect inner = shown->contentsRect().adjusted(2, 2, -2, -2);
            const QRect area(shown->mapTo(&t.w(), inner.topLeft()) * scale, inner.size() * scale);
            double background = 0;
            double contrast = 0;
            EXPECT_TRUE(textStandsOut(window, area.intersected(window.rect()), &background, &contrast))
                << name.toStdString() << " " << widget->objectName().toStdString() << " \""
                << text.left(20).toStdString() << "\": background " << background << ", contrast " << contrast;
        }
    };
    for (const char* button : kPanelButtons) {
        t.click(QString::fromLatin1(button));
        check(t.w().visiblePanel()->objectName());
        t.takeCalls();
    }
    t.click(QStringLiteral("cmdNew1"));
    check(QStringLiteral("fraNew"));
}
