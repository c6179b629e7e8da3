#pragma once
// The layouts of the three replies that fill the cover note record: the
// administrator's read of the cover note, and the two reads of the previous
// document (a cover note or a policy) that fill the comparison copy.

#include "workspace/reply_layout.h"

namespace cn {

// "KivoGIUWR.CoverNote.ReadAdmin": positions 0 to 177; 90, 91, 92, 124 and 125
// are not read.
ReplyLayout ReadAdminLayout();

// "KivoGIUWR.CoverNote.Read": positions 2 to 65 and 69 to 89 as in the ReadAdmin
// layout, then its own positions.
ReplyLayout CoverNoteReadLayout();

// "Tarvin.Policy.Read", counted in the second part of the reply.
ReplyLayout PolicyReadLayout();

}  // namespace cn
