#pragma once

// Makes the sign-in forms known by name: frmAnmeldung, frmBenutzer.
void usersFormulareAnmelden();
