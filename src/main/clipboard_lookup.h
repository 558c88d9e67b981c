// Text copied in another program, while the user has switched this on: on
// the clipboard, and on X11 the selection too (text marked with the mouse).
// What the window copies itself is not looked up, and a selection still
// being dragged out is taken once it has settled.
#pragma once

#include <QClipboard>
#include <QObject>
#include <QTimer>

namespace lexomir {

class ClipboardLookup : public QObject {
    Q_OBJECT

  public:
    explicit ClipboardLookup(QObject* parent = nullptr);

    void setWatching(bool watching);
    bool isWatching() const { return m_watching; }

  signals:
    void copied(const QString& text);

  private:
    void changed(QClipboard::Mode mode);

    bool m_watching = false;
    QClipboard::Mode m_mode = QClipboard::Clipboard;
    QTimer m_settled;
};

}  // namespace lexomir
