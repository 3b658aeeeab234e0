#pragma once

// Makes the sign-in forms known by name: frmAnmeldung, frmBenutzer, frmKennwort.
void usersFormulareAnmelden();

// After a sign-in: the booking dialog of zustand().Buchungsart ("Ausgabe": frmAusgabe, anything
// else: frmEinnahme), opened by name and shown without being modal.
void BuchungsdialogZeigen();
