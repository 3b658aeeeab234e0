#pragma once

// Makes the shell's forms known by name: frmTray, frmHilfe and the help window.
void shellFormulareAnmelden();
