doc.setHtml('<p>Pomiar strony</p>');
var height = doc.getDocHeight();
throw new Error('brak danych dokumentu');
