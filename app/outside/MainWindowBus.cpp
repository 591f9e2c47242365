#include "MainWindowBus.h"

#include "HalvernBus.h"
#include "frmMain.h"
#include "frmMemo.h"

bool publishMainWindow(HalvernBus& bus, frmMain& window) {
    const bool main = bus.publishMain({[&window](const QString& comName, const QString& dongCode) {
                                           window.businessSearchFromOutside(comName, dongCode);
                                       },
                                       [&window] { window.enMnuStandardSearchClick(); }});
    // The memo window is unloaded and loaded again at every search-kind change: each call
    // goes to the one loaded at the time. Without one, the save answers the code of a store
    // that cannot be opened.
    const bool memo = bus.publishMemo({[&window](const QString& name) {
                                           if (frmMemo* memo = window.memoWindow())
                                               memo->exLoadMemo(name);
                                       },
                                       [&window](const QString& name, bool flgDup) {
                                           frmMemo* memo = window.memoWindow();
                                           return memo ? memo->enSaveMemo(name, flgDup)
                                                       : -4;  // the store could not be opened
                                       }});
    return main && memo;
}
