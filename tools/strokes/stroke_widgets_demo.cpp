// lexomir-stroke-widgets-demo DATA_DIR CHARACTER: the stroke animation of
// CHARACTER and the handwriting pad side by side, for trying both and for
// screenshots; a chosen candidate is shown in the animation.
#include <QApplication>
#include <QHBoxLayout>
#include <QWidget>
#include <iostream>

#include "gbk_codec.h"
#include "handwriting_pad.h"
#include "stroke_animation_panel.h"
#include "stroke_database.h"
#include "stroke_tables.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: lexomir-stroke-widgets-demo DATA_DIR CHARACTER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    QWidget window;
    window.setWindowTitle("Lexomir strokes");
    auto* panel = new lexomir::StrokeAnimationPanel(&window);
    auto* pad = new lexomir::HandwritingPad(folder, &window);
    pad->setWindowFlags(Qt::Widget);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(panel, 1);
    layout->addWidget(pad, 1);
    const auto show = [&](const std::string& utf8) {
        try {
            const lexomir::handwriting::StrokeDatabase database(
                folder / lexomir::handwriting::kStrokeDataFileName);
            if (const auto strokes = database.lookUp(lexomir::utf8ToGbk(utf8)))
                panel->showCharacter(*strokes);
            else
                panel->showNote(QString::fromUtf8("没有这个字的笔画数据"));
        } catch (const std::exception& error) {
            panel->showNote(QString::fromUtf8(error.what()));
        }
    };
    QObject::connect(pad, &lexomir::HandwritingPad::characterChosen,
                     [&](const QString& character) { show(character.toStdString()); });
    show(argv[2]);
    window.resize(760, 480);
    window.show();
    return application.exec();
}
