#pragma once

#include "ui/controls/Printer.h"
#include "ui/controls/RecordingPageSink.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace puka::ui {

/// The test double of Printer. What the user does in the preview is queued before the action:
/// print from it, or close it. Each printout is drawn on recording pages as the real preview
/// draws it, once for the preview and once more for the paper when printed, and every
/// printout is recorded. A printout with nothing queued is a fault of the test or of the code:
/// it is reported to the failure handler and its preview is closed.
class ScriptedPrinter : public Printer {
public:
    enum class Answer { Print, Close };
    struct Call {
        QString pdfSuggestedName;
        QList<RecordingPageSink::Operation> preview;
        QList<RecordingPageSink::Operation> paper; ///< empty when the preview was closed
    };

    /// @p averageCharacterTwips and @p lineHeightTwips measure the recording pages' text.
    explicit ScriptedPrinter(int averageCharacterTwips = 100, int lineHeightTwips = 240)
        : m_characterWidth(averageCharacterTwips), m_lineHeight(lineHeightTwips) {}

    void queueAnswer(Answer answer) { m_answers.enqueue(answer); }
    /// Every printout so far, in order.
    const QList<Call>& calls() const { return m_calls; }
    /// Answers that were never asked for.
    int unusedAnswers() const { return static_cast<int>(m_answers.size()); }
    void setFailureHandler(std::function<void(const QString&)> handler) { m_onFailure = std::move(handler); }

    Outcome print(QWidget* parent, const QString& pdfSuggestedName, const Drawing& drawing) override;

private:
    QList<RecordingPageSink::Operation> draw(const Drawing& drawing) const;

    int m_characterWidth;
    int m_lineHeight;
    QQueue<Answer> m_answers;
    QList<Call> m_calls;
    std::function<void(const QString&)> m_onFailure;
};

} // namespace puka::ui
