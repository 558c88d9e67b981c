#include "clipboard_lookup.h"

#include <QGuiApplication>

#include "search_as_you_type.h"

namespace lexomir {

ClipboardLookup::ClipboardLookup(QObject* parent) : QObject(parent) {
    m_settled.setSingleShot(true);
    m_settled.setInterval(SearchAsYouType::kPause);
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, &ClipboardLookup::changed);
    connect(&m_settled, &QTimer::timeout, this,
            [this] { emit copied(QGuiApplication::clipboard()->text(m_mode)); });
}

void ClipboardLookup::setWatching(bool watching) {
    m_watching = watching;
    if (!watching) m_settled.stop();
}

void ClipboardLookup::changed(QClipboard::Mode mode) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const bool ours = mode == QClipboard::Clipboard   ? clipboard->ownsClipboard()
                      : mode == QClipboard::Selection ? clipboard->ownsSelection()
                                                      : true;
    if (!m_watching || ours) return;
    m_mode = mode;
    m_settled.start();
}

}  // namespace lexomir
