// The main window's operations as HalvernBus offers them (the memo window's join them where
// the memo window is loaded).
#pragma once

class HalvernBus;
class frmMain;

// False when the bus refused them; the reason is in bus.lastError().
bool publishMainWindow(HalvernBus& bus, frmMain& window);
