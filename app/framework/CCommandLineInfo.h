#pragma once

#include "CObject.h"

// Base of a program's command-line reader. The framework parses nothing
// itself: derived classes walk the command line their own way.
class CCommandLineInfo : public CObject {};
