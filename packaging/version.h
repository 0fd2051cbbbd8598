/* The version of the deliverables: their version resources and the text for users name it. The
   About box of histview writes it out in its own text. */
#pragma once

#define LUMETRA_VERSION_NUMBERS 1, 2, 0, 0
#define LUMETRA_VERSION_TEXT "1.2"
