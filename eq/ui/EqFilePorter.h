// Import and export of filter files for one EQ graph of a window. An import
// is shown first: the graph takes the new bands (sent nowhere) and the
// file's curve, and a preview window (CEqImportPreview) says how close they
// come; Apply sends the changed bands as one edit each, Cancel or any other
// end of the preview gives the graph back what the device image holds. Only
// one preview is open in the program at a time.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "eq/EqFit.h"
#include "eq/EqViews.h"

class QWidget;

namespace sonoria {

class CEqImportPreview;
class CEqPanel;

class EqFilePorter : public QObject {
    Q_OBJECT

public:
    struct Host {
        QWidget* owner;    // the page or window of the graph: the dialogs sit over it
        CEqPanel* panel;
        std::function<EqView()> view;
        // The graph (and what goes with it) from the device image; sends nothing.
        std::function<void()> refresh;
        // Before the file is asked for, when the preview can open (may be empty).
        std::function<void()> prepare;
    };

    EqFilePorter(QObject* parent, Host host);
    // A preview still open closes with the porter, without a word back.
    ~EqFilePorter() override;

    // Asks for a file and previews its import; a refused file or one no way
    // can import is told in a message box and changes nothing. While a
    // preview is open (this graph's or another's) it is brought to the front instead.
    void Import();
    // Asks for a file name (".txt" added to a name without an extension) and
    // writes the view's editable bands as Equalizer APO filter lines. True
    // when the file was written; a failure is told by the file writer's box.
    bool Export();

    // The user's cancel: the preview closes and the graph is refreshed.
    void CancelPreview();
    // The preview closes without a word back; the caller refreshes the graph.
    void DropPreview();
    bool Previewing() const;
    CEqImportPreview* Preview() const;
    // The import the graph shows while previewing.
    const EqImport* Shown() const;

private:
    void ShowOnPanel(EqImportWay way);
    void Finish(bool apply);

    Host m_host;
    QPointer<CEqImportPreview> m_preview;
    EqView m_view = EqView::Mic;
    EqImportChoice m_choice;
    EqImportWay m_way = EqImportWay::Values;
};

}  // namespace sonoria
