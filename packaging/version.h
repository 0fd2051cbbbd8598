/* The version of the deliverables and who makes them: their version resources, the installer and
   the text for users name them. The About box of histview writes the version out in its own text.
   Texts are Windows-1252, with the bytes beyond ASCII as octal escapes. */
#pragma once

#define LUMETRA_VERSION_NUMBERS 1, 2, 0, 0
#define LUMETRA_VERSION_TEXT "1.2"

#define LUMETRA_PRODUCT_NAME "Lumetra Pro"
#define LUMETRA_COMPANY_NAME "Verdanix"
#define LUMETRA_COPYRIGHT "Copyright \251 Verdanix"
