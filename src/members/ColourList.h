#pragma once

#include <QString>

class TdmZAVR;

// Upkeep of the bird colours in ZAVR_FeatherColor. After a change the ring form's colour list is
// rebuilt from the table alone (colourNames), without the entry "Other".

// Adds the colour `code` (at most 4 characters) named `name` (at most 20). Throws CorvelError, and
// writes nothing, when a field is empty or the code is taken: an empty code would stand for
// "Other", the pigeons without a colour.
void addColour(const TdmZAVR& dm, const QString& code, const QString& name);

// Deletes every colour of that name. Pigeons keep their colour code, which then shows as "Other".
// Returns the number of colours deleted.
int deleteColour(const TdmZAVR& dm, const QString& name);
