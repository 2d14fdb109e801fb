#include "ui/controls/ButtonFace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace puka::ui {
namespace {

const char* const kFaceProperty = "pukaFaceColour";
const QColor kFaceText(0x1A, 0x1A, 0x1A);
const QColor kFaceBorder(0x8A, 0x8A, 0x8A);

// The application's style, with the panel of a button that carries a face colour painted flat.
class FlatFaceStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const bool panel =
            element == PE_PanelButtonCommand || element == PE_PanelButtonTool || element == PE_PanelButtonBevel;
        const QVariant face = panel && widget ? widget->property(kFaceProperty) : QVariant();
        if (!face.isValid()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        QColor fill = face.value<QColor>();
        if (option->state & State_Sunken)
            fill = fill.darker(108);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(kFaceBorder);
        painter->setBrush(fill);
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
        painter->restore();
    }
};

// One proxy for each style the application has used, kept for the life of the application.
QStyle* flatFaceStyle() {
    static QHash<QString, QStyle*> proxies;
    const QString name = QApplication::style()->name();
    QStyle*& proxy = proxies[name];
    if (!proxy) {
        proxy = new FlatFaceStyle(QStyleFactory::create(name));
        proxy->setParent(qApp);
    }
    return proxy;
}

} // namespace

void setButtonFace(QAbstractButton* button, const std::optional<QColor>& colour) {
    if (!colour) {
        button->setProperty(kFaceProperty, QVariant());
        // a palette that sets nothing: the button follows the window's button face again
        button->setPalette(QPalette());
        button->update();
        return;
    }
    if (button->style() != flatFaceStyle())
        button->setStyle(flatFaceStyle());
    button->setProperty(kFaceProperty, *colour);
    QPalette p = button->palette();
    p.setColor(QPalette::Button, *colour);
    p.setColor(QPalette::ButtonText, kFaceText);
    button->setPalette(p);
    button->update();
}

} // namespace puka::ui
