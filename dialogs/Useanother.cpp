#include "app/Main.h"

void TfrmMain::UseanotherFFMpeg1Click(rt::Component* /*Sender*/) {}
