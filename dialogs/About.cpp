#include "app/Main.h"

void TfrmMain::About1Click(rt::Component* /*Sender*/) {}
