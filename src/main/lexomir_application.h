// The application object: its title, the font substitutions, and the display
// of any error that escapes an event handler.
#pragma once

#include <QApplication>
#include <functional>

namespace lexomir {

class LexomirApplication : public QApplication {
  public:
    using ErrorDisplay = std::function<void(const QString& text)>;

    LexomirApplication(int& argc, char** argv);

    // An exception escaping an event handler is shown, and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    // By default a critical message box with the title as caption.
    void setErrorDisplay(ErrorDisplay display);
    void showError(const QString& text) const;

  private:
    ErrorDisplay m_errorDisplay;
};

// Shows an error the way the application object does, also while some other
// application object is running (the tests').
void showTopLevelError(const QString& text);

// Maps "SimSun" to the Song/Ming style CJK fonts a Debian system has.
void installSongFontSubstitutes();

}  // namespace lexomir
