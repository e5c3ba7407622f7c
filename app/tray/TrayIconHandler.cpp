#include "TrayIconHandler.h"

TrayIconHandler::TrayIconHandler(UINT mouseMessage) : m_mouseMessage(mouseMessage) {}

TrayIconHandler::~TrayIconHandler() = default;

void TrayIconHandler::Invoke() {}
