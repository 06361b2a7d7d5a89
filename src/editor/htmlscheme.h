// The HTML colouring of every document window: tags, quoted values and
// comments in the colours the user chose.
#pragma once

class TColorMemo;

// Editor background and text colour from the settings, and three rules:
// "<" to ">", a double quote to the next one, "<!--" to "-->". All have layer
// 0, so the later rule wins where they overlap: quotes inside tags take the
// value colour, and comments are one colour throughout.
void ApplyColorScheme(TColorMemo &memo);
