#include "editor/app/key_lock_panes.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include <X11/XKBlib.h>

namespace {

struct LockKey {
    const char* caption;
    const char* indicator; // the name XKB gives the key's indicator
};

constexpr std::array<LockKey, 3> kKeys{{{"CAP", "Caps Lock"}, {"NUM", "Num Lock"}, {"SCRL", "Scroll Lock"}}};

Display* x11Display() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

KeyLockPanes::KeyLockPanes(QStatusBar& bar) : QObject(&bar) {
    Display* display = x11Display();
    display_ = display;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        Pane& pane = panes_[i];
        pane.label = new QLabel(&bar);
        pane.label->setObjectName(QString::fromLatin1(kKeys[i].caption));
        pane.label->setMinimumWidth(pane.label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL ")));
        pane.label->setAlignment(Qt::AlignCenter);
        bar.addPermanentWidget(pane.label);
        int index = -1;
        if (display && XkbGetNamedIndicator(display, XInternAtom(display, kKeys[i].indicator, False), &index,
                                            nullptr, nullptr, nullptr))
            pane.indicator = index;
    }
    if (!display) return;
    connect(&timer_, &QTimer::timeout, this, &KeyLockPanes::refresh);
    timer_.start(kRefreshMilliseconds);
    refresh();
}

void KeyLockPanes::refresh() {
    unsigned int state = 0;
    if (!display_ || XkbGetIndicatorState(static_cast<Display*>(display_), XkbUseCoreKbd, &state) != Success)
        state = 0;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        const Pane& pane = panes_[i];
        const bool on = pane.indicator >= 0 && ((state >> pane.indicator) & 1u);
        pane.label->setText(on ? QString::fromLatin1(kKeys[i].caption) : QString());
    }
}
