#pragma once

// Registers the resources compiled into the static library; the program and
// every test that reads ":/" call it once before the first use.
void initInvoiceResources();
