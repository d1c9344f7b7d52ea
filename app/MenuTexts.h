// Labels the menus from the language table in the executable's tail.
#pragma once

void ApplyMenuTexts();
