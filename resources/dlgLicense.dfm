// The licence agreement: one memo per Latin-script language; the page shows the chosen one.
object dlgLicense: TdlgLicense
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = 'Brevanshaw License Agreement...'
  ClientHeight = 413
  ClientWidth = 553
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  FormStyle = fsStayOnTop
  KeyPreview = True
  Position = poScreenCenter
  object ClientPanel: TPanel
    Align = alClient
    BevelOuter = bvNone
    object ThemePanel: TPanel
      Width = 137
      Align = alLeft
      BevelOuter = bvNone
      object ThemeBitmap: TImage
        Left = 8
        Top = 8
        Width = 121
        Height = 265
        Stretch = True
      end
    end
    object BottomPanel: TPanel
      Height = 56
      Align = alBottom
      BevelOuter = bvNone
      object Bevel1: TBevel
        Left = 8
        Top = 2
        Width = 537
        Height = 2
        Shape = bsTopLine
      end
      object ProceedBtn: TButton3D
        Left = 297
        Top = 12
        Width = 116
        Height = 36
        Caption = 'Proceed'
        Default = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        IconResName = 'PROCEED'
        ImageControl = MainSetupDlg.SilverBtn
        TabOrder = 0
        OnClick = ProceedBtnClick
      end
      object CancelBtn: TButton3D
        Left = 425
        Top = 12
        Width = 116
        Height = 36
        Caption = 'Cancel'
        Cancel = True
        FocusColor = clYellow
        Font.Color = clWhite
        Font.Height = -17
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        IconResName = 'CANCEL'
        ImageControl = MainSetupDlg.GoldBtn
        TabOrder = 1
        OnClick = CancelBtnClick
      end
    end
    object TextPanel: TPanel
      Align = alClient
      BevelOuter = bvNone
      BorderWidth = 12
      object Label1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alTop
        Caption = 'Please read the following License Agreement.'
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer1: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 8
        Align = alTop
        AutoSize = False
      end
      object Label2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Align = alBottom
        Caption = 'By clicking the Proceed button below, you agree to all terms states in the License Agreement. You may cancel the installation by clicking on the Cancel button.'
        ShowAccelChar = False
        WordWrap = True
      end
      object Spacer2: TLabel
        Left = 12
        Top = 12
        Width = 300
        Height = 8
        Align = alBottom
        AutoSize = False
      end
      object Agreement0: TMemo
        Left = 12
        Top = 40
        Width = 370
        Height = 240
        Align = alClient
        Color = clBtnFace
        Lines.Strings = (
          'BREVANSHAW END-USER LICENSE AGREEMENT'
          ''
          'Copyright (c) 1997 Halvernock. All rights reserved.'
          ''
          'IMPORTANT: PLEASE READ THIS AGREEMENT CAREFULLY BEFORE INSTALLING THE SOFTWARE.'
          ''
          '1. PARTIES'
          ''
          'This End-User License Agreement (the "Agreement") is a legal agreement between you, the end user, and Halvernock for the Brevanshaw software product, including its programs, ready-made applications, sample data, Windows add-on and printed and electronic documentation (together, the "Software").'
          ''
          '2. GRANT OF LICENSE'
          ''
          'Halvernock grants you a non-exclusive, non-transferable license to install and use one copy of the Software on one computer. The license is granted to the person whose name is entered during setup, and only that person may use the Software. Each additional user needs a separate license.'
          ''
          '3. RESTRICTIONS'
          ''
          'You may not reverse engineer, decompile or disassemble the Software, except where applicable law expressly permits it. You may not rent, lease, lend or sublicense the Software. You may not copy the Software, except that you may make one copy solely for backup purposes. You may not remove or alter any copyright notice.'
          ''
          '4. READY-MADE APPLICATIONS AND SAMPLE DATA'
          ''
          'The Software includes ready-made applications (databases) and sample data. You may use and modify the ready-made applications to organize your own pictures, movies, sounds and other files, and you may distribute databases that you create with them, provided that they do not contain the sample data.'
          ''
          'The sample pictures, movies and sounds are for demonstration only and may not be sold or distributed separately.'
          ''
          '5. WINDOWS ADD-ON'
          ''
          'The Software includes an add-on that extends the standard file dialogs of Windows 95 and Windows NT. The add-on is part of the Software, is subject to the same terms and may be used only together with a licensed copy of Brevanshaw. You may remove it at any time by uninstalling the Software.'
          ''
          '6. OWNERSHIP AND COPYRIGHT'
          ''
          'The Software is licensed, not sold. Halvernock and its suppliers retain all title, copyright and other intellectual property rights in the Software and all copies of it. The Software is protected by copyright laws and international treaties. All rights not expressly granted in this Agreement are reserved by Halvernock.'
          ''
          '7. LIMITED WARRANTY'
          ''
          'Halvernock warrants that the media on which the Software is supplied will be free from defects in materials and workmanship under normal use for ninety (90) days from the date of purchase. Your sole remedy for defective media is their replacement by Halvernock, provided that you return them within that period with a copy of your receipt.'
          ''
          'Except for the warranty above, the Software is provided "as is", without warranty of any kind, express or implied, including the implied warranties of merchantability and fitness for a particular purpose. Halvernock does not warrant that the Software is error-free or uninterrupted.'
          ''
          '8. LIMITATION OF LIABILITY'
          ''
          'To the maximum extent permitted by applicable law, Halvernock and its suppliers shall not be liable for any indirect, incidental or consequential damages, including loss of data, loss of profits or business interruption, arising out of the use of or inability to use the Software, even if Halvernock has been advised of the possibility of such damages.'
          ''
          'In any case, Halvernock''s entire liability is limited to the amount you actually paid for the Software.'
          ''
          '9. TERMINATION'
          ''
          'This license is effective until terminated. You may terminate it at any time by uninstalling the Software and destroying all copies. It terminates automatically if you fail to comply with any of its terms. Upon termination you must stop using the Software and destroy all copies, including the backup copy.'
          ''
          '10. GOVERNING LAW'
          ''
          'This Agreement is governed by the laws of the country in which you acquired the product. If any provision of this Agreement is held invalid or unenforceable, the remaining provisions remain in effect.'
          ''
          'By installing the Software or by clicking "Proceed", you confirm that you have read and understood this Agreement and agree to be bound by its terms. If you do not agree, do not install the Software.')
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 2
      end
      object Agreement2: TMemo
        Left = 12
        Top = 40
        Width = 370
        Height = 240
        Color = clBtnFace
        Lines.Strings = (
          'CONTRATO DE LICENCIA DE USUARIO FINAL DE BREVANSHAW'
          ''
          'Copyright (c) 1997 Halvernock. Todos los derechos reservados.'
          ''
          'IMPORTANTE: LEA DETENIDAMENTE ESTE CONTRATO ANTES DE INSTALAR EL SOFTWARE.'
          ''
          '1. PARTES'
          ''
          'El presente Contrato de Licencia de Usuario Final (el "Contrato") es un acuerdo legal entre usted, el usuario final, y Halvernock respecto del producto de software Brevanshaw, incluidos sus programas informáticos, aplicaciones listas para usar, datos de ejemplo, complemento para Windows y documentación impresa y electrónica (en conjunto, el "Software").'
          ''
          '2. CONCESIÓN DE LICENCIA'
          ''
          'Halvernock le concede una licencia no exclusiva e intransferible para instalar y usar una copia del Software en un solo equipo. La licencia se otorga a la persona cuyo nombre se indica durante la instalación, y solo dicha persona puede utilizar el Software. Cada usuario adicional necesita una licencia independiente.'
          ''
          '3. RESTRICCIONES'
          ''
          'Usted no puede aplicar ingeniería inversa, descompilar ni desensamblar el Software, salvo en la medida en que la legislación aplicable lo permita expresamente. No puede alquilar, arrendar, prestar ni sublicenciar el Software. No puede copiar el Software, salvo una única copia de seguridad. No puede eliminar ni modificar ningún aviso de derechos de autor.'
          ''
          '4. APLICACIONES LISTAS PARA USAR Y DATOS DE EJEMPLO'
          ''
          'El Software incluye aplicaciones listas para usar (bases de datos) y datos de ejemplo. Usted puede utilizar y modificar las aplicaciones listas para usar a fin de organizar sus propias imágenes, películas, sonidos y otros archivos, y puede distribuir las bases de datos que cree con ellas, siempre que no contengan los datos de ejemplo.'
          ''
          'Las imágenes, películas y sonidos de ejemplo se proporcionan únicamente con fines de demostración y no pueden venderse ni distribuirse por separado del Software.'
          ''
          '5. COMPLEMENTO PARA WINDOWS'
          ''
          'El Software incluye un complemento que amplía los cuadros de diálogo de archivos estándar de Windows 95 y Windows NT. El complemento forma parte del Software, está sujeto a las mismas condiciones y solo puede utilizarse junto con una copia con licencia de Brevanshaw. Usted puede quitarlo en cualquier momento desinstalando el Software.'
          ''
          '6. PROPIEDAD Y DERECHOS DE AUTOR'
          ''
          'El Software se otorga bajo licencia, no se vende. Halvernock y sus proveedores conservan la titularidad, los derechos de autor y los demás derechos de propiedad intelectual sobre el Software y todas sus copias. El Software está protegido por las leyes de derechos de autor y los tratados internacionales. Halvernock se reserva todos los derechos que no se concedan expresamente en este Contrato.'
          ''
          '7. GARANTÍA LIMITADA'
          ''
          'Halvernock garantiza que los soportes en que se entrega el Software estarán libres de defectos de materiales y de fabricación, en condiciones normales de uso, durante noventa (90) días a partir de la fecha de compra. Su único recurso en caso de soportes defectuosos es su sustitución por Halvernock, siempre que usted los devuelva dentro de dicho plazo con una copia de su comprobante de compra.'
          ''
          'Salvo la garantía anterior, el Software se proporciona "tal cual", sin garantías de ningún tipo, ni expresas ni implícitas, incluidas las garantías implícitas de comerciabilidad y de idoneidad para un fin determinado. Halvernock no garantiza que el Software esté libre de errores ni que funcione sin interrupciones.'
          ''
          '8. LIMITACIÓN DE RESPONSABILIDAD'
          ''
          'En la máxima medida permitida por la legislación aplicable, Halvernock y sus proveedores no serán responsables de ningún daño indirecto, incidental o consecuente, incluidos la pérdida de datos, el lucro cesante o la interrupción de la actividad comercial, que se derive del uso o de la imposibilidad de uso del Software, aun cuando se haya advertido a Halvernock de la posibilidad de tales daños.'
          ''
          'En cualquier caso, la responsabilidad total de Halvernock se limita a la cantidad que usted haya pagado efectivamente por el Software.'
          ''
          '9. TERMINACIÓN'
          ''
          'Esta licencia estará vigente hasta que se dé por terminada. Usted puede darla por terminada en cualquier momento desinstalando el Software y destruyendo todas sus copias. La licencia terminará automáticamente si usted incumple cualquiera de sus condiciones. Una vez terminada, deberá dejar de usar el Software y destruir todas sus copias, incluida la copia de seguridad.'
          ''
          '10. LEGISLACIÓN APLICABLE'
          ''
          'Este Contrato se rige por las leyes del país en el que usted adquirió el producto. Si alguna disposición de este Contrato se declara nula o inaplicable, las demás disposiciones conservarán plena validez y efecto.'
          ''
          'Al instalar el Software o al hacer clic en "Continuar", usted confirma que ha leído y comprendido este Contrato y que acepta quedar obligado por sus términos. Si no está de acuerdo, no instale el Software.')
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 2
        Visible = False
      end
      object Agreement3: TMemo
        Left = 12
        Top = 40
        Width = 370
        Height = 240
        Color = clBtnFace
        Lines.Strings = (
          'ENDBENUTZER-LIZENZVERTRAG FÜR BREVANSHAW'
          ''
          'Copyright (c) 1997 Halvernock. Alle Rechte vorbehalten.'
          ''
          'WICHTIG: BITTE LESEN SIE DIESEN VERTRAG SORGFÄLTIG DURCH, BEVOR SIE DIE SOFTWARE INSTALLIEREN.'
          ''
          '1. VERTRAGSPARTEIEN'
          ''
          'Dieser Endbenutzer-Lizenzvertrag (der „Vertrag“) ist ein rechtsverbindlicher Vertrag zwischen Ihnen als Endbenutzer und Halvernock über das Softwareprodukt Brevanshaw einschließlich der Computerprogramme, der vorgefertigten Anwendungen, der Beispieldaten, der Windows-Erweiterung sowie der gedruckten und elektronischen Dokumentation (zusammen die „Software“).'
          ''
          '2. LIZENZGEWÄHRUNG'
          ''
          'Halvernock gewährt Ihnen eine nicht ausschließliche, nicht übertragbare Lizenz, eine Kopie der Software auf einem Computer zu installieren und zu nutzen. Die Lizenz wird der Person erteilt, deren Name während der Installation eingegeben wird; nur diese Person darf die Software nutzen. Jeder weitere Benutzer benötigt eine eigene Lizenz.'
          ''
          '3. EINSCHRÄNKUNGEN'
          ''
          'Sie dürfen die Software weder zurückentwickeln (Reverse Engineering) noch dekompilieren oder disassemblieren, es sei denn, dies ist nach geltendem Recht ausdrücklich zulässig. Sie dürfen die Software weder vermieten, verleasen oder verleihen noch Unterlizenzen daran vergeben. Sie dürfen die Software nicht kopieren, mit Ausnahme einer einzigen Sicherungskopie.'
          ''
          'Sie dürfen keine Urheberrechtsvermerke entfernen oder verändern.'
          ''
          '4. VORGEFERTIGTE ANWENDUNGEN UND BEISPIELDATEN'
          ''
          'Die Software enthält vorgefertigte Anwendungen (Datenbanken) und Beispieldaten. Sie dürfen die vorgefertigten Anwendungen nutzen und verändern, um Ihre eigenen Bilder, Filme, Klänge und sonstigen Dateien zu organisieren, und Sie dürfen die damit erstellten Datenbanken weitergeben, sofern diese keine Beispieldaten enthalten.'
          ''
          'Die Beispielbilder, -filme und -klänge dienen ausschließlich Vorführzwecken und dürfen weder verkauft noch getrennt von der Software weitergegeben werden.'
          ''
          '5. WINDOWS-ERWEITERUNG'
          ''
          'Die Software enthält eine Erweiterung, die die Standard-Dateidialoge von Windows 95 und Windows NT ergänzt. Die Erweiterung ist Bestandteil der Software, unterliegt denselben Bedingungen und darf nur zusammen mit einer lizenzierten Kopie von Brevanshaw verwendet werden. Sie können die Erweiterung jederzeit entfernen, indem Sie die Software deinstallieren.'
          ''
          '6. EIGENTUM UND URHEBERRECHT'
          ''
          'Die Software wird lizenziert, nicht verkauft. Halvernock und seine Zulieferer behalten sämtliche Eigentums-, Urheber- und sonstigen Schutzrechte an der Software und allen Kopien davon. Die Software ist durch Urheberrechtsgesetze und internationale Verträge geschützt. Alle Rechte, die Ihnen in diesem Vertrag nicht ausdrücklich eingeräumt werden, bleiben Halvernock vorbehalten.'
          ''
          '7. BESCHRÄNKTE GEWÄHRLEISTUNG'
          ''
          'Halvernock gewährleistet, dass die Datenträger, auf denen die Software geliefert wird, bei normalem Gebrauch für neunzig (90) Tage ab Kaufdatum frei von Material- und Verarbeitungsfehlern sind. Bei fehlerhaften Datenträgern besteht Ihr einziger Anspruch in deren Ersatz durch Halvernock, sofern Sie die Datenträger innerhalb dieses Zeitraums zusammen mit einer Kopie Ihres Kaufbelegs zurücksenden.'
          ''
          'Mit Ausnahme der vorstehenden Gewährleistung wird die Software „wie besehen“ und ohne jegliche ausdrückliche oder stillschweigende Gewährleistung bereitgestellt, einschließlich der stillschweigenden Gewährleistung der Marktgängigkeit und der Eignung für einen bestimmten Zweck. Halvernock gewährleistet nicht, dass die Software fehlerfrei ist oder ohne Unterbrechung funktioniert.'
          ''
          '8. HAFTUNGSBESCHRÄNKUNG'
          ''
          'Soweit nach geltendem Recht zulässig, haften Halvernock und seine Zulieferer nicht für mittelbare Schäden, Neben- oder Folgeschäden, einschließlich Datenverlust, entgangenem Gewinn oder Betriebsunterbrechung, die aus der Nutzung oder der Unmöglichkeit der Nutzung der Software entstehen, selbst wenn Halvernock auf die Möglichkeit solcher Schäden hingewiesen wurde.'
          ''
          'In jedem Fall ist die gesamte Haftung von Halvernock auf den Betrag beschränkt, den Sie tatsächlich für die Software bezahlt haben.'
          ''
          '9. BEENDIGUNG'
          ''
          'Diese Lizenz gilt bis zu ihrer Beendigung. Sie können sie jederzeit beenden, indem Sie die Software deinstallieren und alle Kopien vernichten. Die Lizenz endet automatisch, wenn Sie gegen eine ihrer Bestimmungen verstoßen. Nach der Beendigung müssen Sie die Nutzung der Software einstellen und alle Kopien einschließlich der Sicherungskopie vernichten.'
          ''
          '10. ANWENDBARES RECHT'
          ''
          'Dieser Vertrag unterliegt dem Recht des Landes, in dem Sie das Produkt erworben haben. Sollte eine Bestimmung dieses Vertrags unwirksam oder nicht durchsetzbar sein, so bleiben die übrigen Bestimmungen davon unberührt.'
          ''
          'Mit der Installation der Software oder durch Klicken auf „Weitergehen“ bestätigen Sie, dass Sie diesen Vertrag gelesen und verstanden haben und mit seinen Bedingungen einverstanden sind. Wenn Sie nicht einverstanden sind, installieren Sie die Software bitte nicht.')
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 2
        Visible = False
      end
      object Agreement4: TMemo
        Left = 12
        Top = 40
        Width = 370
        Height = 240
        Color = clBtnFace
        Lines.Strings = (
          'LICENTIEOVEREENKOMST VOOR EINDGEBRUIKERS VAN BREVANSHAW'
          ''
          'Copyright (c) 1997 Halvernock. Alle rechten voorbehouden.'
          ''
          'BELANGRIJK: LEES DEZE OVEREENKOMST ZORGVULDIG DOOR VOORDAT U DE SOFTWARE INSTALLEERT.'
          ''
          '1. PARTIJEN'
          ''
          'Deze licentieovereenkomst voor eindgebruikers (de "Overeenkomst") is een juridisch bindende overeenkomst tussen u, de eindgebruiker, en Halvernock met betrekking tot het softwareproduct Brevanshaw, met inbegrip van de computerprogramma''s, de kant-en-klare toepassingen, de voorbeeldgegevens, de Windows-uitbreiding en de gedrukte en elektronische documentatie (gezamenlijk de "Software").'
          ''
          '2. VERLENING VAN DE LICENTIE'
          ''
          'Halvernock verleent u een niet-exclusieve, niet-overdraagbare licentie om één exemplaar van de Software op één computer te installeren en te gebruiken. De licentie wordt verleend aan de persoon wiens naam tijdens de installatie wordt ingevoerd, en alleen die persoon mag de Software gebruiken. Iedere extra gebruiker heeft een afzonderlijke licentie nodig.'
          ''
          '3. BEPERKINGEN'
          ''
          'Het is u niet toegestaan de Software te onderwerpen aan reverse engineering, te decompileren of te disassembleren, behalve voor zover het toepasselijke recht dit uitdrukkelijk toestaat. U mag de Software niet verhuren, leasen, uitlenen of in sublicentie geven. U mag de Software niet kopiëren, met uitzondering van één reservekopie. U mag geen auteursrechtvermeldingen verwijderen of wijzigen.'
          ''
          '4. KANT-EN-KLARE TOEPASSINGEN EN VOORBEELDGEGEVENS'
          ''
          'De Software bevat kant-en-klare toepassingen (databases) en voorbeeldgegevens. U mag de kant-en-klare toepassingen gebruiken en aanpassen om uw eigen afbeeldingen, films, geluiden en andere bestanden te ordenen, en u mag de databases die u daarmee maakt verspreiden, mits deze geen voorbeeldgegevens bevatten.'
          ''
          'De voorbeeldafbeeldingen, -films en -geluiden zijn uitsluitend bedoeld ter demonstratie en mogen niet worden verkocht of los van de Software worden verspreid.'
          ''
          '5. WINDOWS-UITBREIDING'
          ''
          'De Software bevat een uitbreiding die de standaarddialoogvensters voor bestanden van Windows 95 en Windows NT aanvult. De uitbreiding maakt deel uit van de Software, valt onder dezelfde voorwaarden en mag uitsluitend worden gebruikt met een exemplaar van Brevanshaw waarvoor een licentie is verleend. U kunt de uitbreiding op elk moment verwijderen door de Software te de-installeren.'
          ''
          '6. EIGENDOM EN AUTEURSRECHT'
          ''
          'De Software wordt in licentie gegeven, niet verkocht. Halvernock en zijn leveranciers behouden alle eigendomsrechten, auteursrechten en andere intellectuele-eigendomsrechten op de Software en alle kopieën daarvan. De Software wordt beschermd door het auteursrecht en internationale verdragen. Alle niet uitdrukkelijk verleende rechten blijven voorbehouden aan Halvernock.'
          ''
          '7. BEPERKTE GARANTIE'
          ''
          'Halvernock garandeert dat de gegevensdragers waarop de Software wordt geleverd, bij normaal gebruik gedurende negentig (90) dagen na de aankoopdatum vrij zijn van materiaal- en fabricagefouten. Uw enige verhaal bij gebrekkige gegevensdragers is vervanging ervan door Halvernock, op voorwaarde dat u deze binnen die periode samen met een kopie van uw aankoopbewijs retourneert.'
          ''
          'Met uitzondering van de bovenstaande garantie wordt de Software geleverd "zoals deze is", zonder enige uitdrukkelijke of stilzwijgende garantie, met inbegrip van stilzwijgende garanties van verkoopbaarheid en geschiktheid voor een bepaald doel. Halvernock garandeert niet dat de Software vrij is van fouten of zonder onderbreking zal werken.'
          ''
          '8. BEPERKING VAN AANSPRAKELIJKHEID'
          ''
          'Voor zover toegestaan door het toepasselijke recht zijn Halvernock en zijn leveranciers niet aansprakelijk voor indirecte schade, incidentele schade of gevolgschade, met inbegrip van verlies van gegevens, gederfde winst of bedrijfsonderbreking, voortvloeiend uit het gebruik of het niet kunnen gebruiken van de Software, zelfs als Halvernock op de mogelijkheid van dergelijke schade is gewezen.'
          ''
          'In alle gevallen is de totale aansprakelijkheid van Halvernock beperkt tot het bedrag dat u daadwerkelijk voor de Software hebt betaald.'
          ''
          '9. BEËINDIGING'
          ''
          'Deze licentie blijft van kracht totdat zij wordt beëindigd. U kunt de licentie op elk moment beëindigen door de Software te de-installeren en alle kopieën ervan te vernietigen. De licentie eindigt automatisch als u een van de bepalingen ervan niet nakomt. Na beëindiging moet u het gebruik van de Software staken en alle kopieën, met inbegrip van de reservekopie, vernietigen.'
          ''
          '10. TOEPASSELIJK RECHT'
          ''
          'Op deze Overeenkomst is het recht van toepassing van het land waarin u het product hebt verworven. Indien een bepaling van deze Overeenkomst ongeldig of niet afdwingbaar wordt verklaard, blijven de overige bepalingen volledig van kracht.'
          ''
          'Door de Software te installeren of op "Doorgaan" te klikken, bevestigt u dat u deze Overeenkomst hebt gelezen en begrepen en dat u ermee instemt aan de voorwaarden ervan gebonden te zijn. Als u niet akkoord gaat, installeer de Software dan niet.')
        ReadOnly = True
        ScrollBars = ssVertical
        TabOrder = 2
        Visible = False
      end
    end
  end
end
