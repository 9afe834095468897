doc.setHtml('<p>' + typeof declaredLeftover + ' ' + typeof undeclaredLeftover + '</p>');
