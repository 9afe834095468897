doc.setHtml('<p>' + doc.getPageWidth() + 'x' + doc.getPageHeight() + '</p>');
