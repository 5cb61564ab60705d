#pragma once
#include "cardlist/CardTransferJob.h"

// Worker bodies of import and copy, run on a thread of their own. Each stores
// its cards with SaveCard (a card whose code the device holds is replaced),
// sets *job->Status to 2 as its last touch of the job and returns 0; -1 at once
// for no job.
int ImportCardsThread(CardTransferJob* job);
int CopyCardsThread(CardTransferJob* job);

// Stores each card of the list as the owner's card (SaveCard: one of that code
// is replaced, else one is added), taking only the card's own fields. A card
// that fails to store is skipped; the others are stored.
void SaveCardsAs(const CardRecord* list, const QString& owner);

// Writes a device's cards to the chosen export file. 0 written, -1 not (no
// cards file could be made there, or the path is longer than 511 UTF-8 bytes).
int ExportRfcardFile(const CardRecord* list, const QString& path);
