#pragma once

// Resources of the framework's test programs. Also read by the resource
// compiler, so plain #defines only.

// OK and Cancel buttons, not visible at creation.
#define IDD_TEST_BUTTONS 200
// Visible at creation and without controls, like a main window that hides.
#define IDD_TEST_VISIBLE 201
// At (0, 0), not visible at creation, one OK button: a typical About box.
#define IDD_TEST_CORNER 202
// Large enough that a smaller dialog centred on it stays inside it.
#define IDD_TEST_LARGE 203
// No such template.
#define IDD_TEST_MISSING 299

#define IDR_TEST_MENU 300
#define ID_TEST_FIRST 40001
#define ID_TEST_SECOND 40002
#define ID_TEST_INNER 40003
