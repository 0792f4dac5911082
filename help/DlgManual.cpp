#include "help/DlgManual.h"

#include "app/Tondrela.h"

CDlgManual::CDlgManual(QWidget* opener, const QString& firstPage)
    : CHtmlHelpDialog(opener, firstPage, kTitleMessage,
                      (TheApp().screenSize.width() - kWidth) / 2) {}
