#include "AboutDlg.h"

CAboutDlg::CAboutDlg() : CDialog(100) {}
CAboutDlg::~CAboutDlg() = default;
