var declaredLeftover = 'zmienna';
undeclaredLeftover = 'globalna';
doc.setHtml('<p>ustawione</p>');
