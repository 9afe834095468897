#pragma once

// Registers the resources compiled into invoice_lib. A static library's
// resources are not registered by themselves: the program and every test
// call this once before the first ":/" path is opened.
void initInvoiceResources();
