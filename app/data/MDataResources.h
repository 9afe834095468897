#pragma once

// Registers the resources compiled into invoice_data (the schema script). A
// static library's resources are not registered by themselves: call this once
// before the first ":/sql/" path is opened.
void initDataResources();
