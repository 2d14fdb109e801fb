#pragma once

#include "ui/controls/Dialogs.h"

#include <QPointer>
#include <QWidget>

namespace puka::ui {

/// The real boxes: QMessageBox, QInputDialog, QFileDialog and the program's own dialogs with
/// Japanese button texts,
/// modal to the given window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

protected:
    Answer showMessage(const QString& prompt, const QString& title, Icon icon, Buttons buttons,
                       DefaultButton defaultButton) override;
    QString showInput(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString askSaveFileName(const QString& title, const QString& suggestedName, const QString& filter) override;
    std::optional<RecordForm> showRecordForm(const QString& title, const QString& prompt, const RecordForm& form,
                                             const QStringList& situations) override;
    int showChoice(const QString& title, const QString& prompt, const QStringList& headers,
                   const QList<QStringList>& rows, const QString& okText) override;
    QString askOpenFileName(const QString& title, const QString& filter) override;
    std::optional<SaveTarget> askSaveTarget(const QString& title, const QString& suggestedName,
                                            const QStringList& types, int defaultType) override;
    std::optional<QString> showImportPreview(const QString& title, const ImportPreviewForm& form) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace puka::ui
