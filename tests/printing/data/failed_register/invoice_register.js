// Stops on an error after the first page, as a broken register template would.
doc.setPageGenerated(1);
doc.setHtml('<p>REJESTR VAT SPRZEDA&#379;Y</p>');
throw new Error('brak kolumny rejestru');
