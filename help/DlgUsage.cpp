#include "help/DlgUsage.h"

#include "app/Tondrela.h"

CDlgUsage::CDlgUsage(QWidget* opener, const QString& firstPage)
    : CHtmlHelpDialog(opener, firstPage, kTitleMessage,
                      (TheApp().screenSize.width() - kWidth) / 2) {}
