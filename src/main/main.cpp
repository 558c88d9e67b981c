// Lexomir: the character and idiom dictionary window.
#include <exception>

#include "lexomir_application.h"
#include "termination_signal.h"
#include "tfrm_main.h"

int main(int argc, char** argv) {
    lexomir::catchTerminationSignals();
    lexomir::LexomirApplication application(argc, argv);
    try {
        TFrmMain FrmMain;
        lexomir::CloseOnTermination closeOnTermination(FrmMain);
        FrmMain.show();
        application.exec();
    } catch (const std::exception& error) {
        application.showError(lexomir::errorText(error));
    } catch (...) {
        application.showError(QString());
    }
    return 0;
}
