#include "app/Main.h"

void TfrmMain::bConvertClick(rt::Component* /*Sender*/) {}
