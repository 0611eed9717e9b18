#include "app/Main.h"

void TfrmMain::miManualConvertClick(rt::Component* /*Sender*/) {}
