// The application object: its title, the font substitutions, Qt's own texts
// in Chinese, and the display of any error that escapes an event handler.
#pragma once

#include <QApplication>
#include <QTranslator>
#include <exception>
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
    void installChineseQtTexts();

    ErrorDisplay m_errorDisplay;
    QTranslator m_qtTexts;
};

// The text the error display shows: a database error names the file and
// SQLite's reason in a Chinese sentence; any other error shows its own text.
QString errorText(const std::exception& error);

// Shows an error the way the application object does, also while some other
// application object is running (the tests').
void showTopLevelError(const QString& text);

// Maps "SimSun" to the Song/Ming style CJK fonts a Debian system has.
void installSongFontSubstitutes();

}  // namespace lexomir
