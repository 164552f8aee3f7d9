// The Japanese user-interface font of the windows' layouts, mapped onto installed fonts.
#pragma once

// Makes "ＭＳ Ｐゴシック" resolve to a metric-compatible Japanese font where it is not
// installed (no Linux distribution ships it under that name). Safe to call more than once.
void installUiFontSubstitution();
