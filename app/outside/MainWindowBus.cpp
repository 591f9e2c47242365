#include "MainWindowBus.h"

#include "HalvernBus.h"
#include "frmMain.h"

bool publishMainWindow(HalvernBus& bus, frmMain& window) {
    return bus.publishMain({[&window](const QString& comName, const QString& dongCode) {
                                window.businessSearchFromOutside(comName, dongCode);
                            },
                            [&window] { window.enMnuStandardSearchClick(); }});
}
