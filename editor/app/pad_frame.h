#pragma once
// The child frame of one document: an MDI sub-window ("ZortaPadChild" on the bus, under the MDI client)
// that owns its document and shows its view.
#include "editor/document/pad_doc.h"
#include "editor/link/bus_window.h"

#include <QMdiSubWindow>

#include <memory>

class CPadView;

class CPadFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CPadFrame(platform::Hwnd mdiClient);
    ~CPadFrame() override;

    platform::Hwnd handle() const { return bus_.handle(); }
    CPadDoc& document() { return *document_; }
    CPadView* view() const { return view_; }

protected:
    void changeEvent(QEvent* event) override;
    // Asks about the document's changes; a cancel keeps the frame open.
    void closeEvent(QCloseEvent* event) override;

private:
    std::int64_t onMessage(platform::Message& message);

    BusWindow bus_;
    std::unique_ptr<CPadDoc> document_;
    CPadView* view_ = nullptr;
};
