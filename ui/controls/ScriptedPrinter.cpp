#include "ui/controls/ScriptedPrinter.h"

#include <QDebug>

namespace puka::ui {

QList<RecordingPageSink::Operation> ScriptedPrinter::draw(const Drawing& drawing) const {
    RecordingPageSink page(m_characterWidth, m_lineHeight);
    drawing(page);
    page.endDocument();
    return page.operations();
}

Printer::Outcome ScriptedPrinter::print(QWidget*, const QString& pdfSuggestedName, const Drawing& drawing) {
    Call call;
    call.pdfSuggestedName = pdfSuggestedName;
    call.preview = draw(drawing);
    Answer answer = Answer::Close;
    if (m_answers.isEmpty()) {
        const QString text = QStringLiteral("unexpected printout (%1): no answer queued").arg(pdfSuggestedName);
        if (m_onFailure)
            m_onFailure(text);
        else
            qWarning().noquote() << text;
    } else {
        answer = m_answers.dequeue();
    }
    if (answer == Answer::Print)
        call.paper = draw(drawing);
    m_calls.append(call);
    return answer == Answer::Print ? Outcome::Printed : Outcome::Cancelled;
}

} // namespace puka::ui
