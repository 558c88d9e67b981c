#include "lexomir_application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <exception>

#include "app_identity.h"
#include "dictionary_database.h"
#include "messages.h"
#include "song_font.h"
#include "traditional_chinese.h"

namespace lexomir {

void installSongFontSubstitutes() {
    QFont::insertSubstitutions(
        QString::fromLatin1(kSongFamily),
        {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
         QStringLiteral("Noto Sans CJK SC")});
}

LexomirApplication::LexomirApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The display name follows the application name. Set on its own, Qt would
    // also append it to the main window's caption.
    setApplicationName(QString::fromLatin1(kApplicationTitle));
    // Desktops match the running window to its menu entry and icon by this.
    setDesktopFileName(QString::fromLatin1(kApplicationId));
    installSongFontSubstitutes();
    installChineseQtTexts();
}

// Every text of the window is Chinese, so the standard buttons of a message
// box are too (确定 for OK), whatever the user's locale. Without Qt's
// translation file installed they stay in English.
void LexomirApplication::installChineseQtTexts() {
    if (m_qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTexts);
}

QString errorText(const std::exception& error) {
    if (const auto* database = dynamic_cast<const DatabaseError*>(&error))
        return QString::fromStdString(messages::cannotRead(database->file(), database->reason()));
    if (const auto* conversion = dynamic_cast<const ScriptConversionError*>(&error))
        return QString::fromStdString(messages::cannotConvertTraditional(conversion->reason()));
    return QString::fromUtf8(error.what());
}

bool LexomirApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(errorText(error));
    } catch (...) {
        showError(QString());
    }
    return false;
}

void showTopLevelError(const QString& text) {
    if (const auto* application = dynamic_cast<LexomirApplication*>(QCoreApplication::instance())) {
        return application->showError(text);
    }
    QMessageBox::critical(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
                          text, QMessageBox::Ok);
}

void LexomirApplication::setErrorDisplay(ErrorDisplay display) {
    m_errorDisplay = std::move(display);
}

void LexomirApplication::showError(const QString& text) const {
    if (m_errorDisplay) return m_errorDisplay(text);
    QMessageBox::critical(activeWindow(), applicationDisplayName(), text, QMessageBox::Ok);
}

}  // namespace lexomir
