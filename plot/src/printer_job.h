#pragma once

namespace plot::detail {

// Drops a print document that an error cut short, without printing it.
void AbandonPrintJob();

} // namespace plot::detail
