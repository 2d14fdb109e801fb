#pragma once

#include "core/base/ViewModel.h"

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

namespace puka::ui {

class GridView;

/// The small widgets every panel is built from, each created with its objectName (the name
/// the tests and the help tour find it by) and its parent last.
namespace widgets {

/// "#rrggbb" of @p colour, for a style sheet.
QString colourCss(Rgb colour);

/// An empty label.
QLabel* namedLabel(const QString& name, QWidget* parent);

QRadioButton* radioButton(const QString& name, const QString& caption, QWidget* parent);

/// A push button that Enter in a field of its panel does not press (it is no default button).
QPushButton* pushButton(const QString& name, const QString& caption, QWidget* parent);

/// A picture button that shows ":/pictures/buttons/<name>.svg" @p iconSide pixels square
/// (at 96 dpi, scaled to the screen).
QToolButton* pictureButton(const QString& name, int iconSide, QWidget* parent);

/// The face ":/pictures/faces/<name>.svg" drawn @p side pixels square in a label of that size.
QLabel* facePicture(const QString& name, int side, QWidget* parent);

QLineEdit* lineEdit(const QString& name, QWidget* parent);

GridView* grid(const QString& name, QWidget* parent);

} // namespace widgets
} // namespace puka::ui
