<Options>
  Language File=langs\arabic.local
  Open last Tree on startup=1
  <Data Sections>
    Names=1
    Dates=0
  </Data Sections>
</Options>
