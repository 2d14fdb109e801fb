#include "ui/controls/Widgets.h"

#include "ui/controls/GridView.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/Twips.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace puka::ui::widgets {

QString colourCss(Rgb colour) {
    return QStringLiteral("#%1").arg(colour, 6, 16, QLatin1Char('0'));
}

QLabel* namedLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

QRadioButton* radioButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QPushButton* pushButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QToolButton* pictureButton(const QString& name, int iconSide, QWidget* parent) {
    auto* button = new PictureButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(QStringLiteral(":/pictures/buttons/%1.svg").arg(name)));
    const int side = scaledPixels(iconSide, parent);
    button->setIconSize(QSize(side, side));
    return button;
}

QLabel* facePicture(const QString& name, int side, QWidget* parent) {
    QLabel* label = namedLabel(name, parent);
    label->setPixmap(QIcon(QStringLiteral(":/pictures/faces/%1.svg").arg(name)).pixmap(side, side));
    label->setFixedSize(side, side);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit* lineEdit(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

GridView* grid(const QString& name, QWidget* parent) {
    auto* view = new GridView(parent);
    view->setObjectName(name);
    return view;
}

} // namespace puka::ui::widgets
