// The Help menu's two windows and the logo's web link.
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "tfrm_about.h"
#include "tfrm_help.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

QStringList memoLines(QWidget& dialog) {
    return dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
        ->toPlainText()
        .split(QLatin1Char('\n'));
}

TEST(HelpWindow, HoldsTheThirtyOneLinesOfInstructions) {
    TFrmHelp help;
    const QStringList lines = memoLines(help);
    ASSERT_EQ(lines.size(), 31);
    EXPECT_EQ(lines[0], QString::fromUtf8("使用说明："));
    EXPECT_EQ(lines[1], QString::fromUtf8("======================新华字典====================="));
    EXPECT_EQ(lines[26], QString::fromUtf8("输入要查找的成语，不知道的字可以用“=”代替。"));
    EXPECT_EQ(
        lines[30],
        QString::fromUtf8(
            "提示：双击查找到的成语，就显示这个成语的解释。按鼠标右键可以看到查询到的成语总数。"));
    const QList<int> indentedLines{5, 7, 10, 14, 17, 19, 20, 21};
    const QList<int> emptyLines{3, 8, 12, 15, 22, 26, 30};
    for (int number = 1; number <= 31; ++number) {
        const bool indented = indentedLines.contains(number);
        const QString& line = lines[number - 1];
        EXPECT_EQ(line.startsWith(QStringLiteral("    ")), indented) << number;
        EXPECT_FALSE(line.startsWith(QStringLiteral("     "))) << number;
        EXPECT_EQ(line.isEmpty(), emptyLines.contains(number)) << number;
    }
    auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(help.windowTitle(), QString::fromUtf8("使用说明"));
    EXPECT_EQ(help.width(), 678);
    EXPECT_GE(help.height(), 542);
    help.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(memo->verticalScrollBar()->maximum(), 0) << "lines out of view";
}

TEST(AboutWindow, ShowsTheCreditsAndClosesOnItsButton) {
    TFrmAbout about;
    const QStringList lines = memoLines(about);
    ASSERT_EQ(lines.size(), 7);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(lines[i].contains(QString::fromUtf8("："))) << i;
    EXPECT_TRUE(lines[3].contains(QStringLiteral("example.org")));
    EXPECT_TRUE(lines[5].isEmpty() && lines[6].isEmpty());
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("Panel1"))->text(),
              QStringLiteral("Lexomir"));
    EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("LabelVersion"))
                    ->text()
                    .endsWith(QLatin1String(" " LEXOMIR_VERSION)));
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("关于软件"));
    about.show();
    QCoreApplication::processEvents();
    // Every line whole in the box, none wrapped: the web address is the widest.
    auto* memo = about.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    for (const QString& line : lines)
        EXPECT_LE(memo->fontMetrics().horizontalAdvance(line), memo->viewport()->width())
            << line.toStdString();
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_GE(memo->viewport()->height(), 7 * memo->fontMetrics().lineSpacing());
    // The stroke data's licence, wrapped at the credits' width and whole.
    auto* licence = about.findChild<QLabel*>(QStringLiteral("LabelLicence"));
    for (const char* named : {"dat/Strokes.db", "hanzi-writer-data 2.0.1", "Arphic Public License",
                              "dat/ARPHICPL.TXT", "cnchar-order"})
        EXPECT_TRUE(licence->text().remove(QChar(0x2060)).contains(QString::fromUtf8(named)))
            << named;
    EXPECT_EQ(licence->width(), memo->width());
    EXPECT_GE(licence->height(), licence->heightForWidth(licence->width()));
    EXPECT_TRUE(about.rect().contains(QRect(licence->mapTo(&about, QPoint()), licence->size())));
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

class UrlRecorder : public QObject {
    Q_OBJECT

  public:
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

using MenuTest = WindowTest;

TEST_F(MenuTest, EachMenuChoiceShowsAFreshModalWindow) {
    openWindow();
    QStringList titles;
    QList<QWidget*> seen;
    const auto closeWhenShown = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            titles.append(modal->windowTitle());
            seen.append(modal);
            modal->close();
        });
    };
    for (const char* item : {"N1", "N1", "N2"}) {
        closeWhenShown();
        window->findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }
    EXPECT_EQ(titles, (QStringList{QString::fromUtf8("使用说明"), QString::fromUtf8("使用说明"),
                                   QString::fromUtf8("关于软件")}));
    EXPECT_EQ(window->findChildren<QDialog*>().size(), 0);  // each one is gone after it closes
}

TEST_F(MenuTest, TheLogoOpensTheWebSite) {
    openWindow();
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    QTest::mouseClick(control<QLabel>("Image1"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0].host(), QStringLiteral("lexomir.example.org"));
    EXPECT_TRUE(
        window->windowTitle().startsWith(QStringLiteral("Lexomir https://lexomir.example.org/")));
    EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
}  // namespace lexomir::testing

#include "dialogs_test.moc"
